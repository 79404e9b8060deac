// zanq-cli receive: every program of the chosen banks fetched from the synth by request and
// reply, as the MIDI Receive window fetches them, and written to one file in slot order.

#include "cli/Cli.h"
#include "cli/CliFiles.h"
#include "cli/CliMidi.h"
#include "cli/Commands.h"
#include "cli/RunWatch.h"
#include "midi/BankRuns.h"
#include "model/Librarian.h"
#include "sysexfiles/SysexSaver.h"

namespace zanq::cli {

int RunReceive(const QStringList& arguments, const SynthDialect& dialect) {
    CommandLine command(
        "receive", QStringLiteral("receive [--banks A-H] --out FILE [--force] [--port TEXT]"),
        QStringLiteral(
            "Asks the synth for every program of the banks, one by one, and writes the\n"
            "programs that came to FILE in slot order. A program that does not come is asked\n"
            "for once more; when the synth stops answering the run ends, FILE holds what came\n"
            "before, and the report names the programs that did not come."));
    command.addBanks(QStringLiteral("The banks to fetch, like A-H (the default) or C,D."));
    command.addValue(QStringLiteral("out"), QStringLiteral("FILE"),
                     QStringLiteral("The file to write."));
    command.addForce();
    command.addPort();
    if (const auto done = command.parse(arguments))
        return *done;
    if (!command.positional().isEmpty())
        return command.usageError(QStringLiteral("receive takes no FILE but --out FILE"));
    if (!command.isSet(QStringLiteral("out")))
        return command.usageError(QStringLiteral("--out FILE is missing"));
    const auto banks = command.banks(QStringLiteral("A-H"));
    if (!banks)
        return kFailed;
    // Refused now rather than after minutes of receiving.
    const QString out = command.value(QStringLiteral("out"));
    const bool force = command.force();
    if (const auto refused = CheckOutput(out, force))
        return *refused;

    CliMidi midi(dialect);
    if (!midi.aim(command.port(), true)) {
        Complain(QStringLiteral("nothing was received"));
        return kIncomplete;
    }
    Librarian librarian(dialect);
    BankReceiveRun run(midi.link(), librarian, *banks);
    RunWatch watch(run, QStringLiteral("Receiving"),
                   static_cast<int>(banks->size()) * Program::kCount);
    const bool finished = watch.await([&run] { return run.start(); });
    watch.printReport();

    // Replies that named another slot were stored there, and are written with the rest.
    const int received = librarian.matrix().CountMatrixPatches();
    if (received > 0) {
        if (const int status = WriteOutput(out, AllBanksContent(librarian.matrix()), force);
            status != kDone)
            return status;
        Print(QStringLiteral("%1 programs written to %2").arg(received).arg(out));
    }
    return finished && run.report().complete() ? kDone : kIncomplete;
}

}  // namespace zanq::cli
