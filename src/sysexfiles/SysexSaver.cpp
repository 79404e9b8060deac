#include "sysexfiles/SysexSaver.h"

#include <QDir>
#include <QSaveFile>
#include <algorithm>

#include "model/Library.h"
#include "model/Matrix.h"
#include "sysexfiles/SafeFileName.h"

namespace zanq {

namespace {
QString Letter(int bank) {
    return QString::fromLatin1(BankLetter(bank));
}
}  // namespace

QString PresetSaveName(const QDateTime& when) {
    return when.toString(QStringLiteral("yyyy-MM-dd HHmm"));
}

QString LibraryFileName(const QString& name) {
    return SafeFileName(QStringLiteral("Patchlist - "), name, QStringLiteral(".syx"));
}

QString BankFileName(const QString& name, int bank) {
    return SafeFileName({}, name,
                        QStringLiteral(" - BANK_") + Letter(bank) + QStringLiteral(".syx"));
}

QString AllBanksFileName(const QString& name) {
    return SafeFileName(QStringLiteral("ALL - "), name, QStringLiteral(".syx"));
}

std::string LibraryContent(const Library& library) {
    std::string bytes;
    bytes.reserve(library.patchCount() * kRecordLength);
    for (std::size_t i = 1; i < library.size(); ++i)
        bytes += library.entry(i);
    return bytes;
}

std::string BankContent(const Matrix& matrix, int bank) {
    std::string bytes;
    const Bank b = Bank::fromNumber(bank);
    bytes.reserve(static_cast<std::size_t>(matrix.CountBankPatches(b)) * kRecordLength);
    for (int p = 0; p < Program::kCount; ++p)
        bytes += matrix.at({b, Program::fromByte(p)});
    return bytes;
}

std::string AllBanksContent(const Matrix& matrix) {
    std::string bytes;
    for (int bank = 1; bank <= kBanks; ++bank)
        bytes += BankContent(matrix, bank);
    return bytes;
}

std::vector<SaveTarget> SaveTargets(int option, const QString& name, const Matrix& matrix) {
    std::vector<SaveTarget> targets;
    if (option == kSaveLibrary) {
        targets.push_back({LibraryFileName(name), SaveTarget::kLibrary});
    } else if (option >= 1 && option <= kBanks) {
        targets.push_back({BankFileName(name, option), option});
    } else if (option == kSaveSeparateBanks) {
        for (int bank = 1; bank <= kBanks; ++bank)
            if (matrix.CountBankPatches(Bank::fromNumber(bank)) > 0)
                targets.push_back({BankFileName(name, bank), bank});
    } else if (option == kSaveAllBanks) {
        targets.push_back({AllBanksFileName(name), SaveTarget::kAllBanks});
    }
    return targets;
}

std::vector<SaveFile> FilesToSave(int option, const QString& folder, const QString& name,
                                  const Matrix& matrix, const Library& library) {
    const QDir dir(folder);
    std::vector<SaveFile> files;
    for (const SaveTarget& target : SaveTargets(option, name, matrix)) {
        std::string bytes = target.bank == SaveTarget::kLibrary ? LibraryContent(library)
                            : target.bank == SaveTarget::kAllBanks
                                ? AllBanksContent(matrix)
                                : BankContent(matrix, target.bank);
        files.push_back({dir.filePath(target.fileName), std::move(bytes)});
    }
    return files;
}

SaveChoices SaveChoicesFor(const Matrix& matrix, int libraryLines) {
    SaveChoices choices;
    const bool anyInMatrix = matrix.CountMatrixPatches() > 0;
    choices.enabled[kSaveLibrary] = libraryLines > 0;
    for (int bank = 1; bank <= kBanks; ++bank)
        choices.enabled[static_cast<std::size_t>(bank)] =
            matrix.CountBankPatches(Bank::fromNumber(bank)) > 0;
    choices.enabled[kSaveSeparateBanks] = anyInMatrix;
    choices.enabled[kSaveAllBanks] = anyInMatrix;
    choices.saveEnabled = anyInMatrix || libraryLines > 0;
    const auto first =
        std::find(choices.enabled.begin(), choices.enabled.begin() + kSaveNothing, true);
    choices.selected = static_cast<int>(first - choices.enabled.begin());
    return choices;
}

QString WriteSysexFile(const QString& path, std::string_view bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
        static_cast<qint64>(bytes.size())) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

}  // namespace zanq
