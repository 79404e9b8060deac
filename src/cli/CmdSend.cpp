// zanq-cli send: the patches of a file sent to the synth bank by bank, as the Midi Bank Send
// window sends the Matrix: each to the slot it names.

#include <set>

#include "cli/Cli.h"
#include "cli/CliFiles.h"
#include "cli/CliMidi.h"
#include "cli/Commands.h"
#include "cli/RunProgress.h"
#include "midi/BankRuns.h"
#include "model/Librarian.h"

namespace zanq::cli {

int RunSend(const QStringList& arguments, const SynthDialect& dialect) {
    CommandLine command(
        "send", QStringLiteral("send FILE [--banks C,D] [--port TEXT]"),
        QStringLiteral(
            "Sends the patches of FILE to the synth, bank by bank in program order, each to the\n"
            "slot it names; as when FILE is loaded into the Matrix, of patches for the same\n"
            "slot the later one goes. Without --banks every bank that FILE holds patches for\n"
            "is sent."));
    command.addValue(QStringLiteral("banks"), QStringLiteral("BANKS"),
                     QStringLiteral("Send only these banks, like C,D or A-D."));
    command.addValue(QStringLiteral("port"), QStringLiteral("TEXT"),
                     QStringLiteral("Use the first MIDI output port whose name holds TEXT."));
    if (const auto done = command.parse(arguments))
        return *done;
    if (command.positional().size() != 1)
        return command.usageError(QStringLiteral("send takes one FILE"));
    std::optional<std::vector<Bank>> banks;
    if (command.isSet(QStringLiteral("banks"))) {
        banks = ParseBanks(command.value(QStringLiteral("banks")));
        if (!banks)
            return command.usageError(
                QStringLiteral("--banks takes letters A to H, like A-H or C,D"));
    }

    const QString path = command.positional().front();
    Librarian librarian(dialect);
    if (!LoadInto(librarian, path, LoadTarget::Matrix))
        return kFailed;
    if (!banks) {
        banks.emplace();
        for (int b = 0; b < Bank::kCount; ++b)
            if (librarian.matrix().CountBankPatches(Bank::fromByte(b)) > 0)
                banks->push_back(Bank::fromByte(b));
    }
    std::set<Slot> unsent;
    for (Bank bank : *banks)
        for (int p = 0; p < Program::kCount; ++p)
            if (const Slot slot{bank, Program::fromByte(p)}; !librarian.isEmpty(slot))
                unsent.insert(slot);
    if (unsent.empty())
        return Fail(QStringLiteral("%1 holds no patch for %2").arg(path, BanksText(*banks)));

    const int total = static_cast<int>(unsent.size());
    CliMidi midi(dialect);
    if (midi.aim(command.value(QStringLiteral("port")), false)) {
        BankSendRun run(midi.link(), librarian, *banks);
        RunProgress progress(run, QStringLiteral("Sending"), total);
        QObject::connect(&run, &BankSendRun::slotSent, [&unsent](Slot slot, SendOutcome outcome) {
            if (outcome == SendOutcome::Sent)
                unsent.erase(slot);
        });
        AwaitRun(run, [&run] {
            run.start();
            return true;
        });
    }

    Print(QStringLiteral("Sent %1 of %2 patches of %3")
              .arg(total - static_cast<int>(unsent.size()))
              .arg(total)
              .arg(BanksText(*banks)));
    if (unsent.empty())
        return kDone;
    Print(QStringLiteral("Not sent: ") + SlotRanges({unsent.begin(), unsent.end()}));
    return kIncomplete;
}

}  // namespace zanq::cli
