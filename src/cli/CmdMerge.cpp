// zanq-cli merge: the valid records of several files in one, as loading them all into the
// Matrix (slot order, the later record for a slot winning) or into the Patch Library (file
// order, the first record of each name winning) would hold them.

#include "cli/Cli.h"
#include "cli/CliFiles.h"
#include "cli/Commands.h"
#include "model/Librarian.h"
#include "sysexfiles/SysexSaver.h"

namespace zanq::cli {

int RunMerge(const QStringList& arguments, const SynthDialect& dialect) {
    CommandLine command(
        "merge", QStringLiteral("merge FILE... --out FILE [--library] [--force]"),
        QStringLiteral(
            "Writes the valid records of all FILEs to one file. Records go in slot order, and\n"
            "of records for the same slot the one read last is kept, as when the files are\n"
            "loaded into the Matrix one after another. With --library records keep the files'\n"
            "order, and of records with the same name the first is kept, as when the files\n"
            "are loaded into the Patch Library; records with an empty name are left out."));
    command.addValue(QStringLiteral("out"), QStringLiteral("FILE"),
                     QStringLiteral("The file to write."));
    command.addFlag(QStringLiteral("library"),
                    QStringLiteral("File order, the first record of each name winning."));
    command.addForce();
    if (const auto done = command.parse(arguments))
        return *done;
    const QStringList files = command.positional();
    if (files.isEmpty())
        return command.usageError(QStringLiteral("no file to merge"));
    if (!command.isSet(QStringLiteral("out")))
        return command.usageError(QStringLiteral("--out FILE is missing"));

    const bool library = command.isSet(QStringLiteral("library"));
    Librarian librarian(dialect);
    for (const QString& path : files)
        if (!LoadInto(librarian, path, library ? LoadTarget::Library : LoadTarget::Matrix))
            return kFailed;
    const std::string merged =
        library ? LibraryContent(librarian.library()) : AllBanksContent(librarian.matrix());
    const QString out = command.value(QStringLiteral("out"));
    if (const int status = WriteOutput(out, merged, command.force()); status != kDone)
        return status;
    Print(QStringLiteral("%1: %2 records from %3 files")
              .arg(out)
              .arg(merged.size() / dialect.recordLength())
              .arg(files.size()));
    return kDone;
}

}  // namespace zanq::cli
