#include "banktools/SearchResultsModel.h"

namespace zanq {

SearchResultsModel::SearchResultsModel(const Librarian& librarian, QObject* parent)
    : QAbstractListModel(parent), librarian_(librarian) {}

void SearchResultsModel::setHits(std::vector<PatchHit> hits) {
    beginResetModel();
    hits_ = std::move(hits);
    endResetModel();
}

QString SearchResultsModel::line(int row) const {
    return ResultLine(librarian_, hits_.at(static_cast<std::size_t>(row)));
}

int SearchResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(hits_.size());
}

QVariant SearchResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || role != Qt::DisplayRole)
        return {};
    return line(index.row());
}

}  // namespace zanq
