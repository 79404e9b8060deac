// The session journal as a user meets it, in process: a session that ended without a normal
// quit comes back byte for byte when asked to; a normal quit starts the next run empty, with
// the last session a menu entry away; a journal that cannot be kept is said once and ignored.
// The real kill -9 is in tests/e2e.

#include <QtTest>

#include <unistd.h>
#include <QAction>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <memory>

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
// Ending the run without endNormally() is how the journal sees a crash: the writes done, no
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

    // An evening's arranging: loads, moves, a bank swap, a library entry emptied in the
    // middle, and one step undone.
    void arrange() {
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
    }
};
}  // namespace

class SessionTest : public QObject {
    Q_OBJECT
    QTemporaryDir folder;
    int runs = 0;
    // A journal of its own for each test.
    QString journal() {
        return folder.filePath(QStringLiteral("run%1/session.sqlite").arg(++runs));
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void sessionEndedUnexpectedlyComesBackByteForByte() {
        const QString path = journal();
        StoreContents evening;
        {
            Run first(path);
            QVERIFY(first.prompter.shown.isEmpty());
            QVERIFY(!first.restore()->isEnabled());
            first.arrange();
            evening = first.l.contents();
            // A bank receive still under way when the program dies keeps what had arrived.
            first.l.beginStep(labels::ReceiveBanks({Bank::fromNumber(6)}));
            for (int p = 0; p < 5; ++p)
                first.l.storeReceived(EveryByte("Received", 5, p));
            for (int p = 0; p < 5; ++p)
                evening.matrix[At(6, p + 1).index()] = EveryByte("Received", 5, p);
        }
        Run second(path, {true});
        QCOMPARE(second.shown(true), QStringList{kQuestion});
        QVERIFY(second.shown(false).isEmpty());
        QVERIFY(second.l.contents() == evening);
        QCOMPARE(second.undoText(), QStringLiteral("Undo Restore last session"));
    }

    void normalQuitStartsEmptyWithTheLastSessionOnTheMenu() {
        const QString path = journal();
        StoreContents evening, cleared;
        {
            Run first(path);
            first.arrange();
            evening = first.l.contents();
            first.keeper->endNormally();
        }
        {
            Run second(path);
            QVERIFY(second.prompter.shown.isEmpty() && second.l.contents().empty());
            second.restore()->trigger();
            QVERIFY(second.l.contents() == evening);
            second.l.clear({Bank::fromNumber(1)}, true);
            cleared = second.l.contents();
        }
        {  // The second run ended unexpectedly: No starts empty, the menu still restores.
            Run third(path, {false});
            QCOMPARE(third.shown(true), QStringList{kQuestion});
            QVERIFY(third.l.contents().empty());
            third.restore()->trigger();
            QVERIFY(third.l.contents() == cleared);
            third.l.restore({}, QStringLiteral("Empty again"));
        }
        // A run that ends holding nothing leaves nothing to ask about and does not push out
        // the last one that held something.
        Run fourth(path);
        QVERIFY(fourth.prompter.shown.isEmpty());
        fourth.restore()->trigger();
        QVERIFY(fourth.l.contents() == cleared);
    }

    void journalThatCannotBeKeptIsSaidOnceAndLeftAlone_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("truncated in the middle") << "truncated";
        QTest::newRow("newer format version") << "newer";
        QTest::newRow("held by another running program") << "held";
        QTest::newRow("folder that cannot be made") << "unmakeable";
        QTest::newRow("read-only folder") << "read-only";
    }
    void journalThatCannotBeKeptIsSaidOnceAndLeftAlone() {
        QFETCH(QString, kind);
        QString path = journal();
        const QString dataFolder = QFileInfo(path).absolutePath();
        std::unique_ptr<Run> holder;
        if (kind == "truncated") {
            {
                Run earlier(path);
                earlier.arrange();
                for (int i = 0; i < 3000; ++i)  // a file of many pages
                    earlier.l.apply(MakeRecord("Lib " + std::to_string(i), 0, 0, i),
                                    LoadTarget::Library);
            }
            QFile file(path);
            QVERIFY(file.size() > 100000 && !QFile::exists(path + "-wal"));
            QVERIFY(file.resize(file.size() / 2));
        } else if (kind == "newer") {
            QVERIFY(QDir().mkpath(dataFolder));
            {
                QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "newer");
                db.setDatabaseName(path);
                QVERIFY(db.open());
                QSqlQuery(db).exec("PRAGMA user_version=99");
            }
            QSqlDatabase::removeDatabase("newer");
        } else if (kind == "held") {
            holder = std::make_unique<Run>(path);
        } else if (kind == "unmakeable") {
            QFile blocker(folder.filePath("blocker"));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            path = blocker.fileName() + "/data/session.sqlite";
        } else if (kind == "read-only") {
            if (geteuid() == 0)
                QSKIP("root writes into read-only folders");
            QVERIFY(QDir().mkpath(dataFolder));
            QVERIFY(QFile::setPermissions(dataFolder, QFile::ReadOwner | QFile::ExeOwner));
        }
        const QByteArray untouched = test::ReadWholeFile(path);
        {
            Run run(path, {true});
            QCOMPARE(run.shown(true), QStringList());
            QCOMPARE(run.shown(false).size(), 1);
            QVERIFY(run.shown(false).front().startsWith("The session cannot be kept"));
            QVERIFY(!run.restore()->isEnabled());
            // The program works on, undo included, and says nothing more.
            run.arrange();
            run.l.apply(MakeRecord("After", 0, 0), LoadTarget::Both);
            QCOMPARE(run.undoText(), QStringLiteral("Undo Load in Library & Matrix"));
            run.keeper->endNormally();
            QCOMPARE(run.prompter.shown.size(), 1);
        }
        if (kind == "newer")  // a newer program's journal is left as it is
            QCOMPARE(test::ReadWholeFile(path), untouched);
        if (kind == "truncated") {  // set aside: the next start keeps its session again
            Run next(path);
            QVERIFY(next.prompter.shown.isEmpty());
            QVERIFY(QFile::exists(path + ".damaged"));
        }
        QFile::setPermissions(dataFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

QTEST_MAIN(SessionTest)
#include "test_session.moc"
