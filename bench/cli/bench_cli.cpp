// A backup of all eight banks (1,024 programs) from the simulated DeepMind at 0 ms reply
// latency, two ways in the same run: `zanq-cli receive --banks A-H` as a process, timed from
// its start to its exit (start-up, port listing and writing the file included), and the MIDI
// Receive window with every bank ticked, timed from the click on RECEIVE until it is enabled
// again. Rounds alternate between the two so that both see the same machine.
// Usage: bench_cli [rounds]   (a JACK server must be running: bench/run_all.sh starts one)

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "midi/DeepMindDetector.h"
#include "midi/InstallMidi.h"
#include "midi/MidiLink.h"
#include "midi/MidiTransfers.h"
#include "midi/RtMidiBackend.h"
#include "midi/frmMidiReceive.h"
#include "model/DeepMindDialect.h"
#include "model/Librarian.h"
#include "shell/Prompter.h"
#include "shell/frmMain.h"
#include "support/TransferBench.h"

namespace {

const std::string kCliClient = "DeepMind12 clibench";

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

    zanq::bench::Sim sim;
    if (!sim.start(0, kCliClient)) {
        std::fprintf(stderr, "bench_cli: no simulator (is a JACK server running?)\n");
        return 1;
    }

    zanq::DeepMindDialect dialect;
    zanq::Librarian librarian(dialect);
    zanq::bench::CountingPrompter prompter;
    zanq::MidiLink link{std::make_unique<zanq::RtMidiBackend>("ZANQ Bench")};
    zanq::AppContext context{librarian, prompter, QDir::tempPath()};
    context.midi = &link;
    zanq::frmMain window(context);
    window.findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    zanq::InstallMidi(window, context);
    zanq::InstallMidiTransfers(window, context);
    // Aim the window at this simulator, as detection would on a machine with one synth.
    std::vector<std::string> outputs, inputs;
    QEventLoop listing;
    QObject::connect(&link, &zanq::MidiLink::portsListed, [&](const auto& o, const auto& i) {
        outputs = o, inputs = i;
        listing.quit();
    });
    link.listPorts();
    listing.exec();
    link.setOutputPort(zanq::bench::PortOf(kCliClient, outputs));
    link.setInputPort(zanq::bench::PortOf(kCliClient, inputs));
    if (link.outputPort().empty() || link.inputPort().empty()) {
        std::fprintf(stderr, "bench_cli: the simulator's ports were not found\n");
        return 1;
    }
    auto* midiIn = window.findChild<QPushButton*>(QStringLiteral("cmdMIDI_IN"));
    midiIn->setEnabled(true);

    QTemporaryDir scratch;
    const QString backup = scratch.filePath(QStringLiteral("backup.syx"));
    int failures = 0;
    std::vector<double> cli, windowed;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer clock;
        clock.start();
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral(ZANQ_CLI),
                      {QStringLiteral("receive"), QStringLiteral("--banks"), QStringLiteral("A-H"),
                       QStringLiteral("--out"), backup, QStringLiteral("--force"),
                       QStringLiteral("--port"), QString::fromStdString(kCliClient)});
        process.waitForFinished(120000);
        cli.push_back(clock.nsecsElapsed() / 1e6);
        if (process.exitCode() != 0 || QFileInfo(backup).size() != 1024 * 291)
            ++failures;

        librarian.clear(
            {zanq::Bank::fromNumber(1), zanq::Bank::fromNumber(2), zanq::Bank::fromNumber(3),
             zanq::Bank::fromNumber(4), zanq::Bank::fromNumber(5), zanq::Bank::fromNumber(6),
             zanq::Bank::fromNumber(7), zanq::Bank::fromNumber(8)},
            false);
        midiIn->click();
        auto* rx = window.findChild<zanq::frmMidiReceive*>();
        for (int b = 1; b <= 8; ++b)
            rx->chkBank[b]->setChecked(true);
        windowed.push_back(zanq::bench::RunFromButton(rx->cmdMidiReceive));
        if (librarian.matrix().CountMatrixPatches() != 1024)
            ++failures;
        delete rx;
    }
    std::printf("receive A-H, 1,024 programs, 0 ms latency, median of %d round(s):\n", rounds);
    std::printf("  zanq-cli receive --banks A-H (process start to exit)  %8.1f ms\n",
                zanq::bench::Median(cli));
    std::printf("  MIDI Receive window, 8 banks (click to RECEIVE back)  %8.1f ms\n",
                zanq::bench::Median(windowed));
    std::printf("  zanq-cli / window: %.3fx\n",
                zanq::bench::Median(cli) / zanq::bench::Median(windowed));
    std::printf("failures: %d, messages shown: %d\n", failures, prompter.messages);
    sim.stop();
    return failures == 0 && prompter.messages == 0 ? 0 : 1;
}
