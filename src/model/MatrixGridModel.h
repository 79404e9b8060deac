#pragma once
// Shows the Matrix in the grid: model row r-1 is slot r, model column c-1 is bank c. The grid's
// fixed header row and column are the view's headers ("Bank A".."Bank H", "1".."128").
// Names are derived from the records on every paint; nothing is cached.

#include <QAbstractTableModel>

#include "model/Matrix.h"

namespace zanq {

class MatrixGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit MatrixGridModel(Matrix& matrix, QObject* parent = nullptr);
    ~MatrixGridModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Repaints grid column b (bank b, slots 1..128) from the Matrix.
    void RefreshBankColumn(int bankNumber);
    // The text a grid cell shows: the name of the record in that slot, "" when empty.
    QString cellText(int bankNumber, int slot) const;

private:
    Matrix& matrix_;
};

}  // namespace zanq
