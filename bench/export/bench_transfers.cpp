// Bank transfers against the simulated DeepMind over a running JACK server, at 0 and 20 ms
// reply latency: a 128-program bank receive and a 128-patch bank send through the windows'
// own buttons, each timed from the click until the button is enabled again, beside 128 bare
// request-and-reply exchanges by a minimal RtMidi client (the floor: the synth's latency plus
// the JACK cycles) and 128 requests each followed by the full 200 ms of a fixed wait. Also,
// in the same runs: the bank send with Verify ticked (128 sent, then read back), and a bank
// receive by the core run with each program asked for once against up to twice, with no reply
// missing (what the retry costs when it is not needed).
// The bare exchanges move by a fifth from run to run on a busy machine (each one takes one or
// two JACK periods, by where the request falls in the cycle), so every bank receive runs
// right beside a bare run of its own, and the receive is compared to the bare client as the
// median of those per-run ratios.
// Usage: bench_transfers [--runs N] [--no-fixed]    (default 9 runs)

#include <RtMidi.h>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "midi/BankRuns.h"
#include "midi/DeepMindDetector.h"
#include "midi/InstallMidi.h"
#include "midi/MidiLink.h"
#include "midi/MidiTransfers.h"
#include "midi/RtMidiBackend.h"
#include "midi/frmBankSend.h"
#include "midi/frmMidiReceive.h"
#include "model/DeepMindDialect.h"
#include "model/Librarian.h"
#include "shell/frmMain.h"
#include "support/TransferBench.h"

namespace {

using namespace zanq::bench;

// The request for program p (0-based) of bank A.
std::string RequestA(int p) {
    return zanq::DeepMindDialect().programDumpRequest(zanq::Slot::fromIndex(p));
}

int FindPort(RtMidi& midi, const std::string& name) {
    for (unsigned i = 0; i < midi.getPortCount(); ++i)
        if (midi.getPortName(i).find(name) != std::string::npos)
            return static_cast<int>(i);
    return -1;
}

// 128 request-and-reply exchanges by a plain RtMidi JACK client that keeps its ports open.
double BareExchanges(int& missing) {
    RtMidiOut out(RtMidi::UNIX_JACK, "ZANQ Bare");
    RtMidiIn in(RtMidi::UNIX_JACK, "ZANQ Bare");
    in.ignoreTypes(false, true, true);
    struct Caught {
        std::mutex mutex;
        std::condition_variable cv;
        std::size_t bytes = 0;
    } caught;
    in.setCallback(
        [](double, std::vector<unsigned char>* message, void* data) {
            auto* c = static_cast<Caught*>(data);
            std::lock_guard lock(c->mutex);
            c->bytes += message->size();
            c->cv.notify_one();
        },
        &caught);
    const int o = FindPort(out, kClient + " MIDI in");
    const int i = FindPort(in, kClient + " MIDI out");
    if (o < 0 || i < 0)
        return -1;
    out.openPort(static_cast<unsigned>(o), "bare out");
    in.openPort(static_cast<unsigned>(i), "bare in");
    // Both connections in place before the clock starts.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    QElapsedTimer clock;
    clock.start();
    for (int p = 0; p < 128; ++p) {
        {
            std::lock_guard lock(caught.mutex);
            caught.bytes = 0;
        }
        const std::string r = RequestA(p);
        out.sendMessage(reinterpret_cast<const unsigned char*>(r.data()), r.size());
        std::unique_lock lock(caught.mutex);
        if (!caught.cv.wait_for(lock, std::chrono::milliseconds(1000),
                                [&] { return caught.bytes >= 291; }))
            ++missing;
    }
    return clock.nsecsElapsed() / 1e6;
}

// 128 requests through the link, each followed by the full 200 ms wait of a fixed-wait
// exchange (the replies are not looked at: this is the wait's cost alone).
double FixedWaitExchanges(zanq::MidiLink& link) {
    QElapsedTimer clock;
    clock.start();
    for (int p = 0; p < 128; ++p) {
        link.send(RequestA(p));
        Await(&link, &zanq::MidiLink::sendFinished);
        QEventLoop loop;
        QTimer::singleShot(200, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return clock.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);  // the Verify box's setting stays out of the user's
    int runs = 9;
    bool fixed = true;
    for (int a = 1; a < argc; ++a) {
        const QByteArray arg(argv[a]);
        if (arg == "--runs" && a + 1 < argc)
            runs = std::max(1, std::atoi(argv[++a]));
        else if (arg == "--no-fixed")
            fixed = false;
    }

    zanq::DeepMindDialect dialect;
    zanq::Librarian librarian(dialect);
    CountingPrompter prompter;
    auto* ports = new zanq::RtMidiBackend("ZANQ Bench");
    zanq::MidiLink link{std::unique_ptr<zanq::MidiPorts>(ports)};
    zanq::AppContext context{librarian, prompter, QDir::tempPath()};
    context.midi = &link;
    zanq::frmMain window(context);
    window.findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    auto* detector = zanq::InstallMidi(window, context);
    zanq::InstallMidiTransfers(window, context);

    int failures = 0;
    for (int latency : {0, 20}) {
        Sim sim;
        if (!sim.start(latency)) {
            std::fprintf(stderr, "bench_transfers: no simulator (is a JACK server running?)\n");
            return 1;
        }
        // Aim at this simulator's ports, as detection would on a machine with one synth.
        std::vector<std::string> outputs, inputs;
        auto listed =
            QObject::connect(&link, &zanq::MidiLink::portsListed,
                             [&](const auto& o, const auto& i) { outputs = o, inputs = i; });
        detector->DetectDeepMind();
        Await(detector, &zanq::DeepMindDetector::detected);
        QObject::disconnect(listed);
        link.setOutputPort(PortOf(kClient, outputs));
        link.setInputPort(PortOf(kClient, inputs));
        if (link.outputPort().empty() || link.inputPort().empty()) {
            std::fprintf(stderr, "bench_transfers: the simulator's ports were not found\n");
            return 1;
        }

        std::vector<double> bare, receive, ratio, send, arrived, verified, once, twice;
        const zanq::Bank bankA = zanq::Bank::fromNumber(1), bankB = zanq::Bank::fromNumber(2);
        for (int run = 0; run < runs; ++run) {
            // The bare run and the receive back to back, in turn first, so that a drift of
            // the machine's load weighs on both sides alike.
            const auto bareRun = [&] {
                int missing = 0;
                bare.push_back(BareExchanges(missing));
                failures += missing;
            };
            const auto receiveRun = [&] {
                librarian.clear({bankA}, false);
                window.findChild<QPushButton*>(QStringLiteral("cmdMIDI_IN"))->click();
                auto* rx = window.findChild<zanq::frmMidiReceive*>();
                rx->chkBank[1]->setChecked(true);
                receive.push_back(RunFromButton(rx->cmdMidiReceive));
                if (librarian.matrix().CountBankPatches(bankA) != 128)
                    ++failures;
                delete rx;
            };
            if (run % 2 == 0) {
                bareRun();
                receiveRun();
            } else {
                receiveRun();
                bareRun();
            }
            ratio.push_back(receive.back() / bare.back());

            for (int p = 1; p <= 128; ++p)
                librarian.place({bankB, zanq::Program::fromNumber(p)},
                                Record("Sent " + std::to_string(p), 1, p - 1, p));
            const qsizetype storedBefore = sim.count("stored B-");
            window.findChild<QPushButton*>(QStringLiteral("cmdMIDI_OUT"))->click();
            auto* tx = window.findChild<zanq::frmBankSend*>();
            tx->chkBank[2]->setChecked(true);
            QElapsedTimer clock;
            clock.start();
            send.push_back(RunFromButton(tx->cmdMidiSend));
            if (!sim.waitFor([&] { return sim.count("stored B-") >= storedBefore + 128; }, 10000))
                ++failures;
            arrived.push_back(clock.nsecsElapsed() / 1e6);
            delete tx;

            // The same bank with Verify ticked: sent, then every patch read back and compared.
            window.findChild<QPushButton*>(QStringLiteral("cmdMIDI_OUT"))->click();
            auto* vx = window.findChild<zanq::frmBankSend*>();
            vx->chkBank[2]->setChecked(true);
            vx->chkVerify->setChecked(true);
            verified.push_back(RunFromButton(vx->cmdMidiSend));
            if (!vx->lblRunSummary->text().endsWith(QStringLiteral("128 of 128 matched")))
                ++failures;
            vx->chkVerify->setChecked(false);
            delete vx;

            // A bank receive by the core run, each program asked for once, or up to twice.
            for (int attempts : {1, 2}) {
                librarian.clear({bankA}, false);
                zanq::BankReceiveRun core(link, librarian, {bankA});
                core.setAttempts(attempts);
                QElapsedTimer coreClock;
                coreClock.start();
                if (!core.start())
                    return 1;
                Await(&core, &zanq::BankRun::finished);
                (attempts == 1 ? once : twice).push_back(coreClock.nsecsElapsed() / 1e6);
                failures += core.report().complete() ? 0 : 1;
            }
        }
        const double floor = Median(bare);
        std::printf("latency %2d ms, median of %d run(s):\n", latency, runs);
        std::printf("  128 bare RtMidi request-and-reply exchanges  %8.1f ms\n", floor);
        std::printf(
            "  bank receive, 128 programs (RECEIVE)         %8.1f ms  (%.3fx the bare "
            "exchanges beside it, median of the runs' ratios, %.3f to %.3f)\n",
            Median(receive), Median(ratio), *std::min_element(ratio.begin(), ratio.end()),
            *std::max_element(ratio.begin(), ratio.end()));
        std::printf("  each run, bare / receive:");
        for (std::size_t r = 0; r < bare.size(); ++r)
            std::printf(" %.0f/%.0f", bare[r], receive[r]);
        std::printf(" ms\n");
        std::printf(
            "  bank send, 128 patches (SEND)                %8.1f ms  (all stored by "
            "the synth after %.1f ms)\n",
            Median(send), Median(arrived));
        std::printf(
            "  bank send with Verify (sent, then read back) %8.1f ms  (%.3fx the RECEIVE)\n",
            Median(verified), Median(verified) / Median(receive));
        std::printf("  core bank receive, asked once / up to twice  %8.1f / %.1f ms  (%+.1f %%)\n",
                    Median(once), Median(twice), 100.0 * (Median(twice) / Median(once) - 1.0));
        if (fixed)
            std::printf("  128 exchanges with the fixed 200 ms wait     %8.1f ms\n",
                        FixedWaitExchanges(link));
        std::fflush(stdout);
        sim.stop();
    }
    std::printf("failures: %d, messages shown: %d\n", failures, prompter.messages);
    return failures == 0 && prompter.messages == 0 ? 0 : 1;
}
