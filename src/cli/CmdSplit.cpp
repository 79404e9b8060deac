// zanq-cli split: one file per valid record, named as the Export window names a single patch.

#include <QDir>
#include <map>

#include "cli/Cli.h"
#include "cli/CliFiles.h"
#include "cli/Commands.h"
#include "export/ExportFileName.h"
#include "model/PatchName.h"
#include "model/SynthDialect.h"

namespace zanq::cli {

namespace {

QString SingleFileName(const PatchRecord& record, const SynthDialect& dialect) {
    const Slot slot = dialect.slotOf(record);
    return ExportFileName(NameText(dialect.patchName(record)), QString(QChar(slot.bank.letter())),
                          QString::fromStdString(slot.program.text()));
}

}  // namespace

int RunSplit(const QStringList& arguments, const SynthDialect& dialect) {
    CommandLine command(
        "split", QStringLiteral("split FILE --out DIR [--force]"),
        QStringLiteral(
            "Writes each valid record of FILE to a file of its own in DIR, named by the patch\n"
            "name and the slot the record names, as the Export window does: name-B-003.syx.\n"
            "DIR is made when it does not exist. Of records that come to the same file name,\n"
            "the later one is kept."));
    command.addValue(QStringLiteral("out"), QStringLiteral("DIR"),
                     QStringLiteral("The folder to write to."));
    command.addForce(QStringLiteral("Replace files that exist."));
    if (const auto done = command.parse(arguments))
        return *done;
    if (command.positional().size() != 1)
        return command.usageError(QStringLiteral("split takes one FILE"));
    if (!command.isSet(QStringLiteral("out")))
        return command.usageError(QStringLiteral("--out DIR is missing"));

    const QString path = command.positional().front();
    const auto records = ValidRecords(path, dialect);
    if (!records)
        return kFailed;
    const QDir folder(command.value(QStringLiteral("out")));
    if (!QDir().mkpath(folder.path()))
        return Fail(QStringLiteral("cannot make the folder %1").arg(folder.path()));

    // Each name once, the later record winning; every name checked before any file is written.
    std::map<QString, const PatchRecord*> files;
    for (const PatchRecord& record : *records)
        files[folder.filePath(SingleFileName(record, dialect))] = &record;
    const bool force = command.force();
    for (const auto& [file, record] : files)
        if (const auto refused = CheckOutput(file, force))
            return *refused;
    for (const auto& [file, record] : files)
        if (const int status = WriteOutput(file, *record, force); status != kDone)
            return status;
    Print(QStringLiteral("%1: %2 records, %3 files written to %4")
              .arg(path)
              .arg(records->size())
              .arg(files.size())
              .arg(folder.path()));
    return kDone;
}

}  // namespace zanq::cli
