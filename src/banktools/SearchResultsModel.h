#pragma once
// The Search window's result list: holds the hits of the last run and writes a line only when
// the view asks for it, so a run that hits every patch costs no more than the scan itself.
// The stores cannot change while the modal Search window is open.

#include <QAbstractListModel>
#include <vector>

#include "banktools/PatchSearch.h"

namespace zanq {

class SearchResultsModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit SearchResultsModel(const Librarian& librarian, QObject* parent = nullptr);

    void setHits(std::vector<PatchHit> hits);
    QString line(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const Librarian& librarian_;
    std::vector<PatchHit> hits_;
};

}  // namespace zanq
