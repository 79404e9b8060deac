#include "model/StepLabels.h"

#include "model/Librarian.h"
#include "model/PatchName.h"

namespace zanq::labels {

namespace {
QString Text(Slot slot) {
    return QString::fromStdString(slot.text());
}

QString Letter(Bank bank) {
    return QString(QChar::fromLatin1(bank.letter()));
}

// "bank A" or "banks A, C".
QString Banks(const std::set<Bank>& banks) {
    QStringList letters;
    for (Bank bank : banks)
        letters << Letter(bank);
    return (banks.size() == 1 ? QStringLiteral("bank ") : QStringLiteral("banks ")) +
           letters.join(QStringLiteral(", "));
}
}  // namespace

QString Move(Slot from, Slot to) {
    return QStringLiteral("Move %1 to %2").arg(Text(from), Text(to));
}

QString Swap(Slot a, Slot b) {
    return QStringLiteral("Swap %1 and %2").arg(Text(a), Text(b));
}

QString CopyToSlot(std::string_view name, Slot to) {
    return QStringLiteral("Copy %1 to %2").arg(NameText(name), Text(to));
}

QString DeleteSlot(Slot slot) {
    return QStringLiteral("Delete ") + Text(slot);
}

QString DeleteFromLibrary(std::string_view name) {
    return QStringLiteral("Delete %1 from the library").arg(NameText(name));
}

QString CopyBank(Bank from, Bank to) {
    return QStringLiteral("Copy bank %1 to %2").arg(Letter(from), Letter(to));
}

QString SwapBanks(Bank a, Bank b) {
    return QStringLiteral("Swap banks %1 and %2").arg(Letter(a), Letter(b));
}

QString Clear(const std::set<Bank>& banks, bool library) {
    if (banks.empty())
        return QStringLiteral("Clear the library");
    return QStringLiteral("Clear ") + Banks(banks) +
           (library ? QStringLiteral(" and the library") : QString());
}

QString Load(const QString& fileName, LoadTarget target) {
    const QString where = target == LoadTarget::Matrix    ? QStringLiteral("Matrix")
                          : target == LoadTarget::Library ? QStringLiteral("Library")
                                                          : QStringLiteral("Library & Matrix");
    return fileName.isEmpty() ? QStringLiteral("Load in ") + where
                              : QStringLiteral("Load %1 in %2").arg(fileName, where);
}

QString LoadAll() {
    return QStringLiteral("Load all");
}

QString Receive(Slot slot) {
    return QStringLiteral("Receive ") + Text(slot);
}

QString ReceiveBanks(const std::set<Bank>& banks) {
    return QStringLiteral("Receive ") + Banks(banks);
}

QString RestoreSession() {
    return QStringLiteral("Restore last session");
}

}  // namespace zanq::labels
