// A JACK server stopped with SIGSTOP, so every JACK call waits on it: the window still comes up,
// takes a click, says not detected and closes. The program runs as a child (this test with
// --child) on a JACK server of the test's own, so no other test's server is stopped.

#include <QtTest>

#include <QApplication>
#include <QStandardPaths>
#include <QTableView>
#include <csignal>
#include <cstdio>

#include "cli/CliRun.h"
#include "midi/MidiLink.h"
#include "shell/ClickableLabel.h"
#include "shell/LibrarianApp.h"
#include "shell/frmMain.h"
#include "support/MainUi.h"

using namespace zanq;

namespace {

// The program as main() builds it, with a JACK server that does not answer. Prints what it saw.
int Child(int argc, char** argv) {
    const auto say = [](const QString& line) {
        std::printf("%s\n", qPrintable(line));
        std::fflush(stdout);
    };
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    int status = 1;
    {
        LibrarianApp librarian(qEnvironmentVariable("ZANQ_PROGRAM_FOLDER"), "ZANQ Stalled");
        frmMain& window = librarian.window();
        window.show();
        if (QTest::qWaitForWindowExposed(&window, 1000))
            say(QStringLiteral("up after %1 ms").arg(clock.elapsed()));

        // A click posted as the window system would: taken once the event loop runs.
        const test::MainUi ui(window);
        QTableView* grid = ui.FlexGrid1;
        const QModelIndex cell = grid->model()->index(4, 2);
        const QPoint at = grid->visualRect(cell).center();
        clock.restart();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(
                grid->viewport(), new QMouseEvent(type, at, grid->viewport()->mapToGlobal(at),
                                                  Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        if (QTest::qWaitFor([&] { return grid->currentIndex() == cell; }, 1000))
            say(QStringLiteral("click taken after %1 ms").arg(clock.elapsed()));
        say(ui.StatusPanel[2]->text());
        if (librarian.midi().listing())
            say(QStringLiteral("detection waits"));
        window.close();
        status = 0;
    }
    say(QStringLiteral("closed"));
    return status;
}

}  // namespace

class StalledJackTest : public QObject {
    Q_OBJECT
    QProcess jackd;
    const QString server = QString("zanq-stalled-%1").arg(QCoreApplication::applicationPid());

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable("jackd").isEmpty()) {
            if (qEnvironmentVariableIsSet("ZANQ_REQUIRE_JACK"))
                QFAIL("jackd is not installed, and ZANQ_REQUIRE_JACK asks for it");
            QSKIP("needs jackd");
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("JACK_NO_AUDIO_RESERVATION", "1");
        jackd.setProcessEnvironment(env);
        jackd.setStandardOutputFile(QProcess::nullDevice());
        jackd.setStandardErrorFile(QProcess::nullDevice());
        jackd.start("jackd", {"-n", server, "-S", "-d", "dummy"});
        QVERIFY(jackd.waitForStarted());
        QProcess wait;
        wait.start("jack_wait", {"-s", server, "-w", "-t", "10"});
        QVERIFY(wait.waitForFinished(15000) && wait.exitCode() == 0);
        QCOMPARE(::kill(static_cast<pid_t>(jackd.processId()), SIGSTOP), 0);
    }

    void cleanupTestCase() {
        if (jackd.state() == QProcess::NotRunning)
            return;
        ::kill(static_cast<pid_t>(jackd.processId()), SIGCONT);
        jackd.terminate();
        if (!jackd.waitForFinished(5000))
            jackd.kill();
        jackd.waitForFinished();
    }

    void windowComesUpAnswersAndCloses() {
        QTemporaryDir folder;
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("JACK_DEFAULT_SERVER", server);
        env.insert("ZANQ_PROGRAM_FOLDER", folder.path());
        env.insert("ZANQ_UPDATE_URL", "http://127.0.0.1:1/v.txt");
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QCoreApplication::applicationFilePath(), {"--child"});
        QVERIFY(program.waitForFinished(30000));
        const QStringList lines =
            QString::fromLocal8Bit(program.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY2(lines.size() == 5 && lines[0].startsWith("up after") &&
                     lines[1].startsWith("click taken"),
                 qPrintable(lines.join('|')));
        QCOMPARE(lines.mid(2), QStringList({"DEEPMIND NOT DETECTED", "detection waits", "closed"}));
    }

    // A script is not held by a MIDI system that does not answer: the command line gives up
    // on the port listing, says so and ends, leaving no file behind.
    void commandLineGivesUpAndEnds() {
        QTemporaryDir folder;
        qputenv("JACK_DEFAULT_SERVER", server.toLocal8Bit());
        const auto run =
            test::RunCli({"receive", "--banks", "A", "--out", "backup.syx"}, folder.path());
        QVERIFY2(run.status > 0, qPrintable(run.err));
        QVERIFY2(run.err.contains("did not list its ports"), qPrintable(run.err));
        QVERIFY(!QFile::exists(folder.filePath("backup.syx")));
    }
};

int main(int argc, char* argv[]) {
    if (argc > 1 && qstrcmp(argv[1], "--child") == 0)
        return Child(argc, argv);
    QCoreApplication app(argc, argv);
    StalledJackTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_stalledjack.moc"
