// zanq-cli receive: every program of the chosen banks fetched from the synth by request and
// reply, as the MIDI Receive window fetches them, and written to one file in slot order.

#include "cli/Cli.h"
#include "cli/CliFiles.h"
#include "cli/CliMidi.h"
#include "cli/Commands.h"
#include "cli/RunProgress.h"
#include "midi/BankRuns.h"
#include "model/Librarian.h"
#include "sysexfiles/SysexSaver.h"

namespace zanq::cli {

int RunReceive(const QStringList& arguments, const SynthDialect& dialect) {
    CommandLine command(
        "receive", QStringLiteral("receive [--banks A-H] --out FILE [--force] [--port TEXT]"),
        QStringLiteral(
            "Asks the synth for every program of the banks, one by one, and writes the\n"
            "programs that came to FILE in slot order. A request that brings back nothing at\n"
            "all ends the run; FILE then holds what came before, and the report names the\n"
            "programs that did not come."));
    command.addValue(QStringLiteral("banks"), QStringLiteral("BANKS"),
                     QStringLiteral("The banks to fetch, like A-H (the default) or C,D."));
    command.addValue(QStringLiteral("out"), QStringLiteral("FILE"),
                     QStringLiteral("The file to write."));
    command.addFlag(QStringLiteral("force"), QStringLiteral("Replace the output file."));
    command.addValue(QStringLiteral("port"), QStringLiteral("TEXT"),
                     QStringLiteral("Use the first MIDI ports whose name holds TEXT."));
    if (const auto done = command.parse(arguments))
        return *done;
    if (!command.positional().isEmpty())
        return command.usageError(QStringLiteral("receive takes no FILE but --out FILE"));
    if (!command.isSet(QStringLiteral("out")))
        return command.usageError(QStringLiteral("--out FILE is missing"));
    const auto banks =
        ParseBanks(command.isSet(QStringLiteral("banks")) ? command.value(QStringLiteral("banks"))
                                                          : QStringLiteral("A-H"));
    if (!banks)
        return command.usageError(QStringLiteral("--banks takes letters A to H, like A-H or C,D"));
    // Refused now rather than after minutes of receiving.
    const QString out = command.value(QStringLiteral("out"));
    const bool force = command.isSet(QStringLiteral("force"));
    if (const auto refused = CheckOutput(out, force))
        return *refused;

    const int requested = static_cast<int>(banks->size()) * Program::kCount;
    Librarian librarian(dialect);
    CliMidi midi(dialect);
    const bool aimed = midi.aim(command.value(QStringLiteral("port")), true);
    if (aimed) {
        BankReceiveRun run(midi.link(), librarian, *banks);
        RunProgress progress(run, QStringLiteral("Receiving"), requested);
        AwaitRun(run, [&run] { return run.start(); });
    }

    std::vector<Slot> missing;
    for (Bank bank : *banks)
        for (int p = 0; p < Program::kCount; ++p)
            if (const Slot slot{bank, Program::fromByte(p)}; librarian.isEmpty(slot))
                missing.push_back(slot);
    const int received = librarian.matrix().CountMatrixPatches();
    if (received > 0)
        if (const int status = WriteOutput(out, AllBanksContent(librarian.matrix()), force);
            status != kDone)
            return status;
    Print(QStringLiteral("Received %1 of %2 programs of %3%4")
              .arg(requested - static_cast<int>(missing.size()))
              .arg(requested)
              .arg(BanksText(*banks), received > 0 ? QStringLiteral(" into ") + out
                                                   : QStringLiteral("; nothing written")));
    if (missing.empty())
        return kDone;
    Print(QStringLiteral("Not received: ") + SlotRanges(missing));
    return kIncomplete;
}

}  // namespace zanq::cli
