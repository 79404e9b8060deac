#pragma once
// Shows the Matrix in the grid: model row r is program r+1, model column c is bank c (A..H).
// The grid's fixed header row and column are the view's headers ("Bank A".."Bank H",
// "1".."128"). Follows the Librarian's signals; names are derived on every paint.

#include <QAbstractTableModel>

#include "model/Librarian.h"

namespace zanq {

class MatrixGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit MatrixGridModel(const Librarian& librarian, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The text a grid cell shows: the name of the record in that slot, "" when empty.
    QString cellText(Slot slot) const;
    QModelIndex indexOf(Slot slot) const;
    // The slot a valid index shows.
    static Slot slotAt(const QModelIndex& index);

private:
    const Librarian& librarian_;
};

}  // namespace zanq
