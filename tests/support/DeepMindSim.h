#pragma once
// Runs the simulated DeepMind (tools/deepmind-sim) for an end-to-end test over JACK. The test
// target defines ZANQ_DEEPMIND_SIM as the program's path. A JACK server must be running
// (test.sh starts one); ZANQ_NEED_JACK_SERVER() skips a test without one, or fails it when
// ZANQ_REQUIRE_JACK is set, as test.sh does, so that CI cannot pass without the MIDI tests.

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <csignal>

#define ZANQ_NEED_JACK_SERVER()                                                   \
    do {                                                                          \
        if (!zanq::test::DeepMindSim::JackServerRunning()) {                      \
            if (qEnvironmentVariableIsSet("ZANQ_REQUIRE_JACK"))                   \
                QFAIL("no JACK server runs, and ZANQ_REQUIRE_JACK asks for one"); \
            QSKIP("needs a running JACK server; test.sh starts one");             \
        }                                                                         \
    } while (false)

namespace zanq::test {

class DeepMindSim {
public:
    ~DeepMindSim() { stop(); }

    // Asks a few times: on a loaded machine the server can be slow to answer its first client.
    static bool JackServerRunning() {
        for (int attempt = 0; attempt < 3; ++attempt) {
            QProcess check;
            check.start(QStringLiteral("jack_wait"), {QStringLiteral("-c")});
            if (check.waitForFinished(10000) && check.exitCode() == 0 &&
                check.readAllStandardOutput().trimmed() == "running")
                return true;
        }
        return false;
    }

    // Starts the simulator with these options and waits until its ports exist.
    bool start(const QStringList& options = {}) {
        stop();
        lines_.clear();
        process_.setProgram(QStringLiteral(ZANQ_DEEPMIND_SIM));
        process_.setArguments(options);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start();
        // A loaded machine can take seconds to bring up a JACK client.
        return process_.waitForStarted(5000) && waitForLine(QStringLiteral("ready"), 20000);
    }

    // Ends it (SIGTERM) and waits until it has closed its JACK client.
    void stop() {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(2000);
        }
        collect();
    }

    // Asks the simulator to write its memory to the --save file and waits until it has.
    bool save() {
        const qsizetype before = lines_.count(QStringLiteral("saved"));
        ::kill(static_cast<pid_t>(process_.processId()), SIGUSR1);
        return waitFor([&] { return lines_.count(QStringLiteral("saved")) > before; });
    }

    // Its memory, all 8 x 128 programs, as it writes it to its --save file on request.
    QByteArray memory() {
        QFile file(process_.arguments().value(process_.arguments().indexOf("--save") + 1));
        return save() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    bool waitForLine(const QString& line, int ms = 5000) {
        return waitFor([&] { return lines_.contains(line); }, ms);
    }
    bool running() const { return process_.state() == QProcess::Running; }
    const QStringList& lines() {
        collect();
        return lines_;
    }

private:
    template <typename Done>
    bool waitFor(Done done, int ms = 5000) {
        const QDeadlineTimer deadline(ms);
        while (collect(), !done()) {
            if (deadline.hasExpired() || process_.state() == QProcess::NotRunning)
                return false;
            process_.waitForReadyRead(50);
        }
        return true;
    }
    void collect() {
        while (process_.canReadLine())
            lines_ << QString::fromLatin1(process_.readLine().chopped(1));
    }

    QProcess process_;
    QStringList lines_;
};

}  // namespace zanq::test
