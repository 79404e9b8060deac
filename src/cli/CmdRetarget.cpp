// zanq-cli retarget: one patch made to name another slot, as the Export window's Save does.

#include <QDir>
#include <QFileInfo>

#include "cli/Cli.h"
#include "cli/CliFiles.h"
#include "cli/Commands.h"
#include "export/ExportFileName.h"
#include "model/PatchName.h"
#include "model/SynthDialect.h"

namespace zanq::cli {

int RunRetarget(const QStringList& arguments, const SynthDialect& dialect) {
    CommandLine command(
        "retarget", QStringLiteral("retarget FILE --to SLOT --out FILE|DIR [--force]"),
        QStringLiteral(
            "Writes the one patch of FILE so that it names SLOT (B-003, or b-3): only its bank\n"
            "and program bytes change. When the output is a folder, the file in it is named as\n"
            "the Export window names it: name-B-003.syx."));
    command.addValue(QStringLiteral("to"), QStringLiteral("SLOT"),
                     QStringLiteral("The bank and program to name, like B-003."));
    command.addValue(QStringLiteral("out"), QStringLiteral("FILE|DIR"),
                     QStringLiteral("The file to write, or the folder to write it in."));
    command.addForce();
    if (const auto done = command.parse(arguments))
        return *done;
    if (command.positional().size() != 1)
        return command.usageError(QStringLiteral("retarget takes one FILE"));
    if (!command.isSet(QStringLiteral("to")) || !command.isSet(QStringLiteral("out")))
        return command.usageError(QStringLiteral("--to SLOT and --out are both needed"));
    const auto slot = Slot::parse(command.value(QStringLiteral("to")).toStdString());
    if (!slot)
        return command.usageError(QStringLiteral("%1 is not a slot; slots are A-001 to H-128")
                                      .arg(command.value(QStringLiteral("to"))));

    const QString path = command.positional().front();
    const auto records = ValidRecords(path, dialect);
    if (!records)
        return kFailed;
    if (records->size() != 1)
        return Fail(QStringLiteral("%1 holds %2 patches; retarget takes a file of one (split "
                                   "makes such files)")
                        .arg(path)
                        .arg(records->size()));

    const PatchRecord& record = records->front();
    QString out = command.value(QStringLiteral("out"));
    if (QFileInfo(out).isDir())
        out = QDir(out).filePath(ExportFileName(NameText(dialect.patchName(record)),
                                                QString(QChar(slot->bank.letter())),
                                                QString::fromStdString(slot->program.text())));
    if (const int status = WriteOutput(out, dialect.retarget(record, *slot), command.force());
        status != kDone)
        return status;
    Print(QStringLiteral("%1: %2").arg(out, QString::fromStdString(slot->text())));
    return kDone;
}

}  // namespace zanq::cli
