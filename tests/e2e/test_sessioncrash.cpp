// The session survives kill -9: the program (session_driver, built as main() builds it) is
// arranged through its window and killed with SIGKILL; started again, it asks whether to
// restore, and on Yes every slot and library entry is byte-identical to before the kill. A
// start after a normal quit asks nothing and begins empty.

#include <QtTest>

#include <QProcess>
#include <QTemporaryDir>

namespace {
const QString kQuestion = QStringLiteral(
    "box: The last session ended unexpectedly. Restore its Matrix and Patch Library?");
}

class SessionCrashTest : public QObject {
    Q_OBJECT
    QTemporaryDir scratch;

    QProcess* driver(const QString& mode, const QString& dump) {
        auto* process = new QProcess(this);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", scratch.filePath("data"));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("ZANQ_UPDATE_URL", "http://127.0.0.1:1/kelmo/zanq/version.txt");
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(ZANQ_SESSION_DRIVER, {mode, scratch.filePath("files"), dump});
        return process;
    }
    QByteArray read(const QString& name) {
        QFile file(scratch.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Runs a start to its normal quit; what it printed.
    QStringList start(const QString& dump) {
        QProcess* process = driver("start", scratch.filePath(dump));
        const bool ended = process->waitForFinished(60000);
        const QString out = QString::fromLocal8Bit(process->readAllStandardOutput());
        if (!ended || process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0)
            qWarning("start did not end normally: %s", qPrintable(out));
        return out.split('\n', Qt::SkipEmptyParts);
    }

private slots:
    void initTestCase() { QVERIFY(QDir().mkpath(scratch.filePath("files"))); }

    void killedSessionComesBackByteForByte() {
        QProcess* arranged = driver("arrange", scratch.filePath("before kill"));
        QString out;
        while (!out.contains("ready\n") && arranged->waitForReadyRead(60000))
            out += QString::fromLocal8Bit(arranged->readAllStandardOutput());
        QVERIFY2(out.endsWith("ready\n"), qPrintable(out));
        QCOMPARE(out.count("box: "), 3);  // the swap and two library deletes
        arranged->kill();
        QVERIFY(arranged->waitForFinished(10000));
        QCOMPARE(arranged->exitStatus(), QProcess::CrashExit);

        const QByteArray before = read("before kill");
        const QStringList lines = out.split('\n');
        const QString held = lines.filter(QRegularExpression("^held: ")).value(0);
        QVERIFY2(held.startsWith("held: ") && !held.startsWith("held: 0"), qPrintable(held));
        QCOMPARE(start("after restart"), QStringList({kQuestion, held}));
        QVERIFY(read("after restart") == before);

        // That start ended normally: the next asks nothing and begins empty.
        QCOMPARE(start("after quit"), QStringList{"held: 0 slots, 0 library entries"});
    }
};

QTEST_MAIN(SessionCrashTest)
#include "test_sessioncrash.moc"
