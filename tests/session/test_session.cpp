// The session journal: a killed program comes back byte for byte when asked, a second copy keeps
// no session, a quit starts empty, a journal that cannot be kept is said once. The killed and
// quitting programs are this test started again as a child (see main below).

#include <QtTest>

#include <QAction>
#include <cstdio>

#include "model/StepLabels.h"
#include "model/StepScope.h"
#include "session/SessionJournal.h"
#include "session/SessionKeeper.h"
#include "shell/Subsystems.h"
#include "support/MainRig.h"
#include "undo/UndoHistory.h"

using namespace zanq;
using test::At;
using test::MakeRecord;

namespace {
const QString kQuestion =
    QStringLiteral("The last session ended unexpectedly. Restore its Matrix and Patch Library?");

// A record whose patch data runs through every byte value, F7 and 00 included.
PatchRecord EveryByte(const std::string& name, int bank, int program) {
    PatchRecord r = MakeRecord(name, bank, program);
    for (std::size_t i = 10; i < 265; ++i)
        r[i] = static_cast<char>((i * 3 + static_cast<std::size_t>(program)) & 0xFF);
    return r;
}

// One run of the program with its session kept in journal; questions answered from answers.
// Ending the run without endNormally() is an unexpected end to the journal: the writes done, no
// mark of a normal quit.
struct Run : test::MainRig {
    Librarian& l = librarian;
    SessionKeeper* keeper = nullptr;

    explicit Run(const QString& journal, QList<bool> answers = {}) : MainRig({InstallSubsystems}) {
        prompter.answers << answers;
        keeper = &KeepSession(window, context, journal);
    }
    QStringList shown(bool questions) const {
        QStringList texts;
        for (const auto& prompt : prompter.shown)
            if (prompt.question == questions)
                texts << prompt.text;
        return texts;
    }
    QAction* restore() const { return keeper->restoreAction(); }
    QString undoText() const { return window.findChild<QAction*>("mnuUndo")->text(); }

    // An evening's arranging: loads, moves, a bank swap, a library entry emptied in the middle,
    // one step undone, and part of a bank received, the receive left open when still receiving.
    void arrange(bool stillReceiving = false) {
        {
            StepScope load(l, labels::Load(QStringLiteral("all.syx"), LoadTarget::Both));
            for (int p = 0; p < 40; ++p)
                l.apply(EveryByte("Evening " + std::to_string(p), p % 3, p), LoadTarget::Both);
        }
        l.moveOrSwap(At("A-1"), At("H-128"));
        l.swapBanks(Bank::fromNumber(2), Bank::fromNumber(7));
        l.deleteFromLibrary("Evening 7");
        l.deleteSlot(At("C-3"));
        window.findChild<UndoHistory*>()->undo();
        l.beginStep(labels::ReceiveBanks({Bank::fromNumber(6)}));
        for (int p = 0; p < 5; ++p)
            l.storeReceived(EveryByte("Received", 5, p));
        if (!stillReceiving)
            l.endStep();
    }
};

// The child: arranges in the journal at the default place, then waits to be killed ("crash") or
// quits from the Files menu ("quit").
int RunChild(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const bool crash = qstrcmp(argv[1], "crash") == 0;
    Run run(DefaultJournalPath());
    run.arrange(crash);
    if (crash) {
        run.keeper->journal().waitForWrites();
        std::printf("ready\n");
        std::fflush(stdout);
    } else {
        run.window.show();
        QTimer::singleShot(0, run.ui.mnuQuit, &QAction::trigger);
    }
    return app.exec();
}
}  // namespace

class SessionTest : public QObject {
    Q_OBJECT
    QTemporaryDir folder;
    int runs = 0;
    // A journal of its own for each use.
    QString journal() {
        return folder.filePath(QStringLiteral("run%1/session.sqlite").arg(++runs));
    }
    // The child started with its data folder under ours.
    QProcess* child(const QString& mode) {
        auto* process = new QProcess(this);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", folder.filePath("data"));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("ZANQ_UPDATE_URL", "http://127.0.0.1:1/version.txt");  // a closed port
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QCoreApplication::applicationFilePath(), {mode});
        return process;
    }
    // What arrange() leaves, in a run whose journal is new.
    StoreContents arranged(bool stillReceiving) {
        Run reference(journal());
        if (!reference.prompter.shown.isEmpty() || reference.restore()->isEnabled())
            qFatal("a new journal asks or offers a last session");
        reference.arrange(stillReceiving);
        return reference.l.contents();
    }
    // A run whose session cannot be kept says so once and works on, undo included.
    static void worksOnWithoutJournal(Run& run) {
        QCOMPARE(run.shown(true), QStringList());
        QCOMPARE(run.shown(false).size(), 1);
        QVERIFY(run.shown(false).front().startsWith("The session cannot be kept"));
        QVERIFY(!run.restore()->isEnabled());
        run.arrange();
        run.l.apply(MakeRecord("After", 0, 0), LoadTarget::Both);
        QCOMPARE(run.undoText(), QStringLiteral("Undo Load in Library & Matrix"));
        run.keeper->endNormally();
        QCOMPARE(run.prompter.shown.size(), 1);
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void sessionLivesThroughAKillAndAQuit() {
        // A copy arranges and is killed while receiving; a second copy running meanwhile keeps
        // no session of its own.
        QProcess* killed = child("crash");
        QByteArray out;
        while (!out.contains("ready\n") && killed->waitForReadyRead(60000))
            out += killed->readAllStandardOutput();
        QVERIFY2(out == "ready\n", out.constData());
        QDirIterator found(folder.filePath("data"), {"session.sqlite"}, QDir::Files,
                           QDirIterator::Subdirectories);
        const QString path = found.hasNext() ? found.next() : QString();
        {
            Run second(path, {true});
            worksOnWithoutJournal(second);
        }
        killed->kill();
        QVERIFY(killed->waitForFinished(10000) && killed->exitStatus() == QProcess::CrashExit);
        StoreContents cleared;
        {  // Started again it asks, and Yes brings back every byte.
            Run restarted(path, {true});
            QCOMPARE(restarted.shown(true), QStringList{kQuestion});
            QVERIFY(restarted.shown(false).isEmpty());
            QVERIFY(restarted.l.contents() == arranged(true));
            QCOMPARE(restarted.undoText(), QStringLiteral("Undo Restore last session"));
            restarted.l.clear({Bank::fromNumber(1)}, true);
            cleared = restarted.l.contents();
        }
        {  // That run ended unexpectedly too: No starts empty, the menu still restores.
            Run third(path, {false});
            QCOMPARE(third.shown(true), QStringList{kQuestion});
            QVERIFY(third.l.contents().empty());
            third.restore()->trigger();
            QVERIFY(third.l.contents() == cleared);
            third.l.restore({}, QStringLiteral("Empty again"));
        }
        {  // A run that ends holding nothing leaves nothing to ask about and does not push out
           // the last one that held something.
            Run fourth(path);
            QVERIFY(fourth.prompter.shown.isEmpty());
            fourth.restore()->trigger();
            QVERIFY(fourth.l.contents() == cleared);
        }
        // A copy that quits from the Files menu: the next run asks nothing and starts empty,
        // with what it quit on a menu entry away.
        QProcess* quit = child("quit");
        QVERIFY(quit->waitForFinished(60000));
        QVERIFY(quit->exitStatus() == QProcess::NormalExit && quit->exitCode() == 0);
        Run fifth(path);
        QVERIFY(fifth.prompter.shown.isEmpty() && fifth.l.contents().empty());
        fifth.restore()->trigger();
        QVERIFY(fifth.l.contents() == arranged(false));
    }

    void journalThatCannotBeKeptIsSaidOnceAndLeftAlone() {
        QFile blocker(folder.filePath("blocker"));  // where a folder would have to be made
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        {
            Run run(blocker.fileName() + "/data/session.sqlite", {true});
            worksOnWithoutJournal(run);
        }
        // A newer program's journal is left as it is; one truncated in the middle is set aside,
        // and the next start keeps its session again.
        const QString newer = journal(), truncated = journal();
        for (const QString& path : {newer, truncated}) {
            Run earlier(path);
            earlier.arrange();
            for (int i = 0; path == truncated && i < 3000; ++i)  // a file of many pages
                earlier.l.apply(MakeRecord("Lib " + std::to_string(i), 0, 0, i),
                                LoadTarget::Library);
        }
        QFile file(newer), cut(truncated);
        // The user version in the file's header, beyond this program's.
        QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(60) &&
                file.write("\0\0\1\0", 4) == 4 && file.flush());
        QVERIFY(cut.size() > 100000 && !QFile::exists(truncated + "-wal") &&
                cut.resize(cut.size() / 2));
        const QByteArray untouched = test::ReadWholeFile(newer);
        for (const QString& path : {newer, truncated}) {
            Run run(path, {true});
            worksOnWithoutJournal(run);
        }
        QCOMPARE(test::ReadWholeFile(newer), untouched);
        Run next(truncated);
        QVERIFY(next.prompter.shown.isEmpty() && QFile::exists(truncated + ".damaged"));
    }
};

int main(int argc, char* argv[]) {
    if (argc == 2 && (qstrcmp(argv[1], "crash") == 0 || qstrcmp(argv[1], "quit") == 0))
        return RunChild(argc, argv);
    QApplication app(argc, argv);
    SessionTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_session.moc"
