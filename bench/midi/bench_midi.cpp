// Figures for the MIDI link over a running JACK server with the simulated DeepMind at zero
// latency: the first port listing (which starts the MIDI APIs on the link's thread), one
// detection listing, and one request-and-reply exchange, each timed from the call on the
// window's thread to the signal that ends it.
// Usage: bench_midi [runs]. With a JACK server running (test.sh or run.sh --demo start one) it
// measures all three; without one, only the listings.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "midi/MidiLink.h"
#include "midi/ProgramExchange.h"
#include "midi/RtMidiBackend.h"
#include "model/DeepMindDialect.h"
#include "model/Librarian.h"

namespace {

void Report(const char* what, std::vector<double> us) {
    std::sort(us.begin(), us.end());
    const auto at = [&](double q) { return us[static_cast<std::size_t>(q * (us.size() - 1))]; };
    double sum = 0;
    for (double v : us)
        sum += v;
    std::printf("%-40s n=%zu  median %8.1f us  p95 %8.1f us  max %8.1f us  mean %8.1f us\n", what,
                us.size(), at(0.5), at(0.95), us.back(), sum / us.size());
}

// Microseconds from start() to the first emission of signal.
template <typename Sender, typename Signal, typename Start>
double Time(Sender* sender, Signal signal, Start start) {
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, [&loop] { loop.quit(); });
    QElapsedTimer clock;
    clock.start();
    start();
    loop.exec();
    return clock.nsecsElapsed() / 1000.0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;

    QProcess sim;
    sim.start(QStringLiteral(ZANQ_DEEPMIND_SIM),
              {QStringLiteral("--latency"), QStringLiteral("0")});
    // Without a JACK server only the listings are measured: the path of a machine with no synth.
    const bool simulated = sim.waitForReadyRead(5000) && sim.readLine().startsWith("ready");
    if (!simulated)
        std::printf("no simulator (no JACK server?): listings only\n");

    zanq::DeepMindDialect dialect;
    zanq::Librarian librarian(dialect);
    auto* ports = new zanq::RtMidiBackend("ZANQ Bench");
    zanq::MidiLink link{std::unique_ptr<zanq::MidiPorts>(ports)};
    std::vector<std::string> outputs, inputs;
    QObject::connect(&link, &zanq::MidiLink::portsListed,
                     [&](const auto& outs, const auto& ins) { outputs = outs, inputs = ins; });
    const auto list = [&] { link.listPorts(); };

    std::printf("first listing (starts %s): %.1f us\n", "the MIDI APIs",
                Time(&link, &zanq::MidiLink::portsListed, list));
    std::vector<double> listing;
    for (int i = 0; i < runs; ++i)
        listing.push_back(Time(&link, &zanq::MidiLink::portsListed, list));
    Report(simulated ? "detection listing (simulator present)" : "detection listing (no JACK)",
           listing);
    if (!simulated)
        return 0;

    const auto find = [&dialect](const std::vector<std::string>& names) {
        const auto it = std::find_if(names.begin(), names.end(),
                                     [&](const std::string& n) { return dialect.isSynthPort(n); });
        return it == names.end() ? std::string() : *it;
    };
    link.setOutputPort(find(outputs));
    link.setInputPort(find(inputs));
    if (link.outputPort().empty() || link.inputPort().empty()) {
        std::fprintf(stderr, "bench_midi: the simulator's ports were not found\n");
        return 1;
    }
    int messages = 0;
    QObject::connect(&link, &zanq::MidiLink::failed, [&](const QString& op, const QString& text) {
        ++messages;
        std::fprintf(stderr, "failed: %s %s\n", qPrintable(op), qPrintable(text));
    });

    zanq::ProgramExchange exchange(link, librarian);
    int missing = 0;
    QObject::connect(
        &exchange, &zanq::ProgramExchange::finished,
        [&](const zanq::ExchangeResult& r) { missing += r.outcome != zanq::ReplyOutcome::Stored; });
    const zanq::Slot slot{zanq::Bank::fromNumber(2), zanq::Program::fromNumber(17)};
    std::vector<double> exchanges;
    for (int i = 0; i < runs; ++i)
        exchanges.push_back(
            Time(&exchange, &zanq::ProgramExchange::finished, [&] { exchange.start(slot); }));
    Report("request-and-reply exchange (0 ms)", exchanges);
    std::printf("exchanges without a stored reply: %d, failures: %d\n", missing, messages);

    sim.terminate();
    sim.waitForFinished(5000);
    return missing == 0 && messages == 0 ? 0 : 1;
}
