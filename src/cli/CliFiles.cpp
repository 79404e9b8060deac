#include "cli/CliFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "cli/Cli.h"
#include "cli/NativeNames.h"
#include "sysexfiles/SysexFileReader.h"
#include "sysexfiles/SysexSaver.h"

namespace zanq::cli {

SyxSurvey SurveyFile(const QString& path, const SynthDialect& dialect) {
    SyxSurvey survey;
    SysexFileReader reader(dialect.recordLength());
    if (!reader.open(NativePath(path))) {
        survey.error = reader.error();
        return survey;
    }
    const auto keep = [&](std::string_view candidate) {
        survey.candidates.emplace_back(candidate);
        survey.valid.push_back(dialect.isValidRecord(candidate));
        survey.validRecords += survey.valid.back();
    };
    while (!reader.atEnd())
        if (!reader.readSome(SysexFileReader::kChunk, keep)) {
            survey.error = reader.error();
            return survey;
        }
    // A final record without its F7 took one byte fewer of the file than it holds.
    const bool lastUnclosed = reader.endedUnclosed() && survey.valid.back();
    const qint64 recordBytes =
        static_cast<qint64>(survey.validRecords * dialect.recordLength()) - lastUnclosed;
    survey.invalidPieces = reader.pieces() - survey.validRecords;
    survey.ignoredBytes = reader.position() - recordBytes;
    return survey;
}

std::optional<std::vector<PatchRecord>> ValidRecords(const QString& path,
                                                     const SynthDialect& dialect) {
    SyxSurvey survey = SurveyFile(path, dialect);
    if (!survey.error.isEmpty()) {
        Complain(QStringLiteral("cannot read %1: %2").arg(path, survey.error));
        return std::nullopt;
    }
    std::vector<PatchRecord> records;
    for (std::size_t i = 0; i < survey.candidates.size(); ++i)
        if (survey.valid[i])
            records.push_back(std::move(survey.candidates[i]));
    return records;
}

bool LoadInto(Librarian& librarian, const QString& path, LoadTarget target) {
    const FileLoad load = librarian.loadFile(NativePath(path), target);
    if (load.error.isEmpty())
        return true;
    Complain(QStringLiteral("cannot read %1: %2").arg(path, load.error));
    return false;
}

std::optional<int> CheckOutput(const QString& path, bool force) {
    const QFileInfo info(path);
    if (info.isDir())
        return Fail(QStringLiteral("cannot write %1: it is a folder").arg(path));
    if (!info.absoluteDir().exists())
        return Fail(QStringLiteral("cannot write %1: its folder does not exist").arg(path));
    if (info.exists() && !force)
        return Fail(QStringLiteral("%1 exists already; --force replaces it").arg(path));
    return std::nullopt;
}

int WriteOutput(const QString& path, std::string_view bytes, bool force) {
    if (const auto refused = CheckOutput(path, force))
        return *refused;
    const QString reason = WriteSysexFile(path, bytes);
    if (!reason.isEmpty())
        return Fail(QStringLiteral("cannot write %1: %2").arg(path, reason));
    return kDone;
}

}  // namespace zanq::cli
