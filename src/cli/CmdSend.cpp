// zanq-cli send: the patches of a file sent to the synth bank by bank, as the Midi Bank Send
// window sends the Matrix: each to the slot it names.

#include "cli/Cli.h"
#include "cli/CliFiles.h"
#include "cli/CliMidi.h"
#include "cli/Commands.h"
#include "cli/RunWatch.h"
#include "midi/BankRuns.h"
#include "model/Librarian.h"

namespace zanq::cli {

int RunSend(const QStringList& arguments, const SynthDialect& dialect) {
    CommandLine command(
        "send", QStringLiteral("send FILE [--banks C,D] [--verify] [--port TEXT]"),
        QStringLiteral(
            "Sends the patches of FILE to the synth, bank by bank in program order, each to the\n"
            "slot it names; as when FILE is loaded into the Matrix, of patches for the same\n"
            "slot the later one goes. Without --banks every bank that FILE holds patches for\n"
            "is sent. The run stops at the first patch that does not go."));
    command.addBanks(QStringLiteral("Send only these banks, like C,D or A-D."));
    command.addFlag(QStringLiteral("verify"),
                    QStringLiteral("Then ask the synth for every patch sent and compare it."));
    command.addPort();
    if (const auto done = command.parse(arguments))
        return *done;
    if (command.positional().size() != 1)
        return command.usageError(QStringLiteral("send takes one FILE"));
    std::optional<std::vector<Bank>> banks;  // nothing: the banks the file holds patches for
    if (command.isSet(QStringLiteral("banks")) && !(banks = command.banks({})))
        return kFailed;

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
    int patches = 0;
    for (Bank bank : *banks)
        patches += librarian.matrix().CountBankPatches(bank);
    if (patches == 0)
        return Fail(QStringLiteral("%1 holds no patch for %2").arg(path, BanksText(*banks)));

    const bool verify = command.isSet(QStringLiteral("verify"));
    CliMidi midi(dialect);
    if (!midi.aim(command.port(), verify)) {
        Complain(QStringLiteral("nothing was sent"));
        return kIncomplete;
    }
    BankSendRun run(midi.link(), librarian, *banks);
    run.setReadBack(verify);
    RunWatch watch(run, QStringLiteral("Sending"), patches);
    QObject::connect(&run, &BankSendRun::readingBack,
                     [&watch](Slot slot) { watch.reached(QStringLiteral("Reading back"), slot); });
    const bool finished = watch.await([&run] {
        run.start();
        return true;
    });
    watch.printReport();
    return finished && run.report().complete() ? kDone : kIncomplete;
}

}  // namespace zanq::cli
