#include "model/MatrixGridModel.h"

#include "model/PatchName.h"

namespace zanq {

namespace {
constexpr Qt::Alignment kCellAlignment = Qt::AlignHCenter | Qt::AlignTop;
}

MatrixGridModel::MatrixGridModel(const Librarian& librarian, QObject* parent)
    : QAbstractTableModel(parent), librarian_(librarian) {
    connect(&librarian, &Librarian::slotChanged, this, [this](Slot slot) {
        const QModelIndex cell = indexOf(slot);
        emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::ToolTipRole});
    });
    connect(&librarian, &Librarian::bankChanged, this, [this](Bank bank) {
        emit dataChanged(indexOf({bank, Program::fromByte(0)}),
                         indexOf({bank, Program::fromByte(Program::kCount - 1)}),
                         {Qt::DisplayRole, Qt::ToolTipRole});
    });
}

int MatrixGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Program::kCount;
}

int MatrixGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Bank::kCount;
}

QModelIndex MatrixGridModel::indexOf(Slot slot) const {
    return index(slot.program.byte(), slot.bank.byte());
}

Slot MatrixGridModel::slotAt(const QModelIndex& index) {
    return {Bank::fromByte(index.column()), Program::fromByte(index.row())};
}

QString MatrixGridModel::cellText(Slot slot) const {
    return NameText(librarian_.dialect().patchName(librarian_.at(slot)));
}

QVariant MatrixGridModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return cellText(slotAt(index));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(kCellAlignment);
    return {};
}

QVariant MatrixGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(kCellAlignment);
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= Bank::kCount)
            return {};
        return QStringLiteral("Bank ") + QChar::fromLatin1(Bank::fromByte(section).letter());
    }
    if (section < 0 || section >= Program::kCount)
        return {};
    return QString::number(section + 1);
}

Qt::ItemFlags MatrixGridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace zanq
