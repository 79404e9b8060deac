// Figures for the MIDI link over a running JACK server with the simulated DeepMind at zero
// latency: one detection run, and one request-and-reply exchange through the port layer.
// Usage: bench_midi [runs]. With a JACK server running (test.sh or run.sh --demo start one) it
// measures both; without one, only detection.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "midi/DeepMindDetector.h"
#include "midi/InstallMidi.h"
#include "midi/RtMidiBackend.h"
#include "midi/modMIDI.h"
#include "midi/modSleep.h"
#include "model/DeepMindDialect.h"
#include "shell/frmMain.h"

namespace {

class SilentPrompter : public zanq::Prompter {
public:
    int messages = 0;
    bool askYesNo(QWidget*, const QString&, const QString&, QMessageBox::Icon) override {
        return false;
    }
    void tell(QWidget*, const QString& text, const QString&, QMessageBox::Icon) override {
        ++messages;
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
};

void Report(const char* what, std::vector<double> us) {
    std::sort(us.begin(), us.end());
    const auto at = [&](double q) { return us[static_cast<std::size_t>(q * (us.size() - 1))]; };
    double sum = 0;
    for (double v : us)
        sum += v;
    std::printf("%-40s n=%zu  median %8.1f us  p95 %8.1f us  max %8.1f us  mean %8.1f us\n", what,
                us.size(), at(0.5), at(0.95), us.back(), sum / us.size());
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;

    QProcess sim;
    sim.start(QStringLiteral(ZANQ_DEEPMIND_SIM),
              {QStringLiteral("--latency"), QStringLiteral("0")});
    // Without a JACK server only detection is measured: the path of a machine with no synth.
    const bool simulated = sim.waitForReadyRead(5000) && sim.readLine().startsWith("ready");
    if (!simulated)
        std::printf("no simulator (no JACK server?): detection only\n");

    zanq::DeepMindDialect dialect;
    zanq::Librarian librarian{dialect};
    SilentPrompter prompter;
    zanq::RtMidiBackend ports("ZANQ Bench");
    zanq::modMIDI midi(ports, prompter);
    zanq::AppContext context{librarian, prompter, QDir::tempPath()};
    context.midi = &midi;
    zanq::frmMain window(context);
    window.findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    QElapsedTimer clock;
    clock.start();
    zanq::InstallMidi(window, context);  // the first run starts the port systems
    std::printf("first detection run (starts %zu API(s)): %.1f us\n", ports.runningApis().size(),
                clock.nsecsElapsed() / 1000.0);
    auto* detector = zanq::FindDeepMindDetector(window);
    if (simulated && (!detector->outputFound() || !detector->inputFound())) {
        std::fprintf(stderr, "bench_midi: the simulator's ports were not found\n");
        return 1;
    }

    std::vector<double> detection;
    for (int i = 0; i < runs; ++i) {
        clock.restart();
        detector->DetectDeepMind();
        detection.push_back(clock.nsecsElapsed() / 1000.0);
    }
    Report(simulated ? "detection run (simulator present)" : "detection run (no JACK server)",
           detection);
    if (!simulated)
        return 0;

    const std::string request("\xF0\x00\x20\x32\x20\x00\x01\x01\x10\xF7", 10);
    std::vector<double> exchange;
    int missing = 0;
    for (int i = 0; i < runs; ++i) {
        clock.restart();
        midi.OpenMidiIn();
        QCoreApplication::processEvents();
        midi.SendSysex(request);
        const bool complete = zanq::WaitUntil(
            200, [&] { return midi.SysexComplete(); }, [] { QCoreApplication::processEvents(); });
        midi.CloseMidiInIfOpen();
        exchange.push_back(clock.nsecsElapsed() / 1000.0);
        if (!complete || midi.BytesRecorded() != 291)
            ++missing;
    }
    Report("request-and-reply exchange (0 ms)", exchange);
    std::printf("exchanges without a whole reply: %d, messages shown: %d\n", missing,
                prompter.messages);

    sim.terminate();
    sim.waitForFinished(5000);
    return missing == 0 && prompter.messages == 0 ? 0 : 1;
}
