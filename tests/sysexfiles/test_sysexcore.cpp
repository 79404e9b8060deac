// The .syx core: splitting bytes into records whatever the chunks, the folder listing, safe
// save names, and the load and save runs.

#include <sys/stat.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "support/Records.h"
#include "sysexfiles/SafeFileName.h"
#include "sysexfiles/SysexFolder.h"
#include "sysexfiles/SysexLoadRun.h"
#include "sysexfiles/SysexSaveRun.h"
#include "sysexfiles/SysexSaver.h"
#include "sysexfiles/SysexSplitter.h"

using namespace zanq;
using test::MakeRecord;

namespace {
// A file of the scratch folder by its own bytes, which need not be UTF-8.
QByteArray Native(const QTemporaryDir& dir, const QByteArray& name) {
    return QFile::encodeName(dir.path()) + '/' + name;
}
void Pipe(const QTemporaryDir& dir, const QByteArray& name) {
    QVERIFY(::mkfifo(Native(dir, name).constData(), 0600) == 0);
}

std::vector<std::string> Split(const std::vector<std::string>& chunks) {
    std::vector<std::string> found;
    SysexSplitter splitter(kRecordLength);
    const auto keep = [&](std::string_view r) { found.emplace_back(r); };
    for (const std::string& chunk : chunks)
        splitter.feed(chunk, keep);
    splitter.finish(keep);
    return found;
}
}  // namespace

class SysexCoreTest : public QObject {
    Q_OBJECT
private slots:
    void candidatesDoNotDependOnTheChunks() {
        const PatchRecord a = MakeRecord("Alpha", 0, 0, 1), b = MakeRecord("Beta", 3, 9, 2);
        const std::string request("\xF0\x00\x20\x32\x20\x00\x01\x00\x00\xF7", 10);
        const std::string unended = b.substr(0, kRecordLength - 1);
        // A stray byte costs only the message it lengthens; a request is no record; the last
        // record counts without its closing F7.
        const std::string file = a + request + "\x42" + b + a + "\xF7\xF7" + unended;
        for (std::size_t size : {std::size_t(1), std::size_t(7), kRecordLength - 1, kRecordLength,
                                 kRecordLength + 1, file.size()}) {
            std::vector<std::string> chunks;
            for (std::size_t at = 0; at < file.size(); at += size)
                chunks.push_back(file.substr(at, size));
            QCOMPARE(Split(chunks), (std::vector<std::string>{a, a, b}));
        }
        // A stretch that outgrows a record across chunks stays too long.
        QVERIFY(Split({unended, "x", unended + "\xF7", unended, "y"}).empty());
    }

    void folderListsWhatAFileManagerShows() {
        QTemporaryDir dir;
        for (const char* name :
             {"b.SYX", "a.Syx", ".hidden.syx", "notes.txt", "x.syx.bak", "\u00e9t\u00e9.syx"})
            test::WriteWholeFile(dir.filePath(QString::fromUtf8(name)), "x");
        QVERIFY(QDir(dir.path()).mkdir("folder.syx"));
        Pipe(dir, "pipe.syx");
        QVERIFY(QFile::link(dir.filePath("a.Syx"), dir.filePath("link.syx")));
        QVERIFY(QFile::link(dir.filePath("gone"), dir.filePath("broken.syx")));
        QStringList shown;
        for (const SysexFileEntry& entry : ListSysexFiles(dir.path()))
            shown << entry.name;
        QCOMPARE(shown, (QStringList{"a.Syx", "b.SYX", "link.syx",
                                     QString::fromUtf8("\u00e9t\u00e9.syx")}));
    }

    void hostileSaveNamesStayInTheFolder_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file");
        QTest::newRow("climbing") << "../escaped"
                                  << "ALL - .._escaped.syx";
        QTest::newRow("backslash") << "..\\x"
                                   << "ALL - .._x.syx";
        QTest::newRow("controls") << QString::fromLatin1("a\0b\t\x1b\x7f", 6) << "ALL - a_b___.syx";
        QTest::newRow("refused") << "a:b*c?\"<>|"
                                 << "ALL - a_b_c_____.syx";
        QTest::newRow("dots") << ".."
                              << "ALL - _.syx";
        QTest::newRow("300 two-byte")
            << QString(300, QChar(0xE9)) << "ALL - " + QString(122, QChar(0xE9)) + ".syx";
        QTest::newRow("broken utf-16") << QString(1, QChar(0xD800)) + "x"
                                       << "ALL - _x.syx";
    }
    void hostileSaveNamesStayInTheFolder() {
        QFETCH(QString, name);
        QFETCH(QString, file);
        QTemporaryDir parent;
        QVERIFY(QDir(parent.path()).mkdir("folder"));
        const QString folder = parent.filePath("folder");
        test::TestLibrarian t;
        t.librarian.apply(MakeRecord("A", 0, 0), LoadTarget::Matrix);
        const auto files =
            FilesToSave(kSaveAllBanks, folder, name, t.librarian.matrix(), t.librarian.library());
        QCOMPARE(files.size(), std::size_t(1));
        QCOMPARE(files[0].path, folder + "/" + file);
        QCOMPARE(WriteSysexFile(files[0].path, files[0].bytes), QString());
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{file});
        QCOMPARE(QDir(parent.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"folder"});
    }

    // A "folder" that is a file: nothing after the failing file is written.
    void saveRunStopsAtTheFileItCannotWrite() {
        QTemporaryDir dir;
        const PatchRecord a = MakeRecord("A", 0, 0);
        const QString path = dir.filePath("bank.syx");
        test::WriteWholeFile(path, QByteArray::fromStdString(a));
        SysexSaveRun run({{path + "/x.syx", a}, {dir.filePath("after.syx"), a}, {path, a + a}});
        QSignalSpy done(&run, &SysexSaveRun::finished);
        run.start();
        QVERIFY(done.wait(5000));
        QCOMPARE(done[0].value(0).toString(), path + "/x.syx");
        QVERIFY(!done[0].value(1).toString().isEmpty());
        QVERIFY(!QFile::exists(dir.filePath("after.syx")));
        QCOMPARE(test::ReadWholeFile(path), QByteArray::fromStdString(a));
    }

    // Only regular files are read, never waited on; a big one goes on a slice at a time, and
    // not while a message box about the last file is open.
    void loadRunGoesOnOnlyFromTheEventLoop() {
        QTemporaryDir dir;
        std::string big;
        for (int i = 0; big.size() < 3 * SysexLoadRun::kSliceBytes; ++i)
            big += MakeRecord(std::to_string(i), i % 8, i % 128);
        test::WriteWholeFile(dir.filePath("big.syx"), QByteArray::fromStdString(big));
        Pipe(dir, "pipe.syx");
        QVERIFY(QDir(dir.path()).mkdir("folder.syx"));
        std::size_t records = 0;
        SysexLoadRun run(kRecordLength, [&](std::vector<PatchRecord>& c) { records += c.size(); },
                         {{Native(dir, "pipe.syx"), "pipe"},
                          {Native(dir, "folder.syx"), "folder"},
                          {Native(dir, "missing.syx"), "missing"},
                          {Native(dir, "big.syx"), "big"}});
        QSignalSpy ended(&run, &SysexLoadRun::fileEnded);
        QSignalSpy finished(&run, &SysexLoadRun::finished);
        QSignalSpy progress(&run, &SysexLoadRun::progressed);
        bool nestedStep = false;
        connect(&run, &SysexLoadRun::fileEnded, this, [&](int index) {
            if (index != 0)
                return;
            const qsizetype before = progress.size();
            QEventLoop box;
            QTimer::singleShot(50, &box, &QEventLoop::quit);
            box.exec();
            nestedStep = progress.size() != before;
        });
        run.start();
        QVERIFY(run.isRunning());
        QVERIFY(finished.wait(20000));
        QVERIFY(!nestedStep);
        QCOMPARE(ended.size(), 4);
        for (int file = 0; file < 3; ++file)
            QVERIFY2(!ended[file][1].toString().isEmpty(), qPrintable(run.file(file).shownPath));
        QCOMPARE(ended[3][1].toString(), QString());
        QCOMPARE(records, big.size() / kRecordLength);
        QVERIFY(progress.size() > 2);
        QCOMPARE(progress.last().value(0).toInt(), SysexLoadRun::kProgressSteps);
    }
};

QTEST_GUILESS_MAIN(SysexCoreTest)
#include "test_sysexcore.moc"
