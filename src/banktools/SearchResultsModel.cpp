#include "banktools/SearchResultsModel.h"

namespace zanq {

SearchResultsModel::SearchResultsModel(const Library& library, const Matrix& matrix,
                                       QObject* parent)
    : QAbstractListModel(parent), library_(library), matrix_(matrix) {}

void SearchResultsModel::setHits(std::vector<PatchHit> hits) {
    beginResetModel();
    hits_ = std::move(hits);
    endResetModel();
}

QString SearchResultsModel::line(int row) const {
    return ResultLine(library_, matrix_, hits_.at(static_cast<std::size_t>(row)));
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
