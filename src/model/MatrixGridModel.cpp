#include "model/MatrixGridModel.h"

namespace zanq {

namespace {
constexpr Qt::Alignment kCellAlignment = Qt::AlignHCenter | Qt::AlignTop;
}

MatrixGridModel::MatrixGridModel(Matrix& matrix, QObject* parent)
    : QAbstractTableModel(parent), matrix_(matrix) {
    matrix_.setObserver([this](int bank, int slot) {
        const QModelIndex cell = index(slot - 1, bank - 1);
        emit dataChanged(cell, cell, {Qt::DisplayRole});
    });
}

MatrixGridModel::~MatrixGridModel() {
    matrix_.setObserver(nullptr);
}

int MatrixGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kSlots;
}

int MatrixGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kBanks;
}

QString MatrixGridModel::cellText(int bankNumber, int slot) const {
    const std::string name = GetPatchName(matrix_.at(bankNumber, slot));
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QVariant MatrixGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return cellText(index.column() + 1, index.row() + 1);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(kCellAlignment);
    return {};
}

QVariant MatrixGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(kCellAlignment);
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return QStringLiteral("Bank %1").arg(QChar(static_cast<char16_t>('A' + section)));
    return QString::number(section + 1);
}

Qt::ItemFlags MatrixGridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void MatrixGridModel::RefreshBankColumn(int bankNumber) {
    emit dataChanged(index(0, bankNumber - 1), index(kSlots - 1, bankNumber - 1),
                     {Qt::DisplayRole});
}

}  // namespace zanq
