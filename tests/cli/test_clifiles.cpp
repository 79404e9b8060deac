// zanq-cli's file commands run as a script runs them: what they print, the files they write
// byte for byte, and their exit statuses, on files with the odd pieces the loader meets.

#include <QtTest>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "cli/CliRun.h"
#include "support/Records.h"

using namespace zanq;
using test::MakeRecord;
using test::ReadBytes;
using test::RunCli;
using test::WriteBytes;

namespace {

std::string WithoutEnd(const std::string& record) {
    return record.substr(0, record.size() - 1);
}

}  // namespace

class CliFilesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir;
    QString at(const QString& name) const { return dir->filePath(name); }

private slots:
    void init() { dir = std::make_unique<QTemporaryDir>(); }

    // One line per record in file order, the valid and the out-of-range ones; the summary
    // counts what the loader skips: a lengthened record, a short message, a lone F7.
    void listShowsWhatTheLoaderSees() {
        const std::string warm = MakeRecord("Warm Pad", 1, 2);
        const std::string lengthened = "\x01" + MakeRecord("Lost", 0, 0);
        const std::string outOfRange = MakeRecord("Bank Nine", 8, 5);
        const std::string request("\xF0\x00\x20\x32\x20\x00\x01\x00\x00\xF7", 10);
        const std::string lastUnclosed = WithoutEnd(MakeRecord("Tail", 7, 127));
        const std::string file = warm + lengthened + outOfRange + request + "\xF7" + lastUnclosed;
        QVERIFY(WriteBytes(at("odd.syx"), file));
        const qint64 ignored = static_cast<qint64>(file.size() - warm.size() - lastUnclosed.size());

        const auto text = RunCli({"list", at("odd.syx")});
        QCOMPARE(text.status, 0);
        const QStringList lines = text.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QVERIFY2(lines[0].contains(QRegularExpression("^B-003 +Warm Pad +valid$")),
                 qPrintable(lines[0]));
        QVERIFY2(lines[1].contains(QRegularExpression("Bank Nine +invalid$")),
                 qPrintable(lines[1]));
        QVERIFY(!lines[1].contains("I-"));
        QVERIFY2(lines[2].contains(QRegularExpression("^H-128 +Tail +valid$")),
                 qPrintable(lines[2]));
        QCOMPARE(lines[3],
                 QStringLiteral("2 records, 4 invalid pieces, %1 ignored bytes").arg(ignored));

        const auto json = RunCli({"list", "--json", at("odd.syx")});
        QCOMPARE(json.status, 0);
        const QJsonArray files = QJsonDocument::fromJson(json.out.toUtf8()).array();
        QCOMPARE(files.size(), 1);
        const QJsonObject listed = files[0].toObject();
        QCOMPARE(listed["file"].toString(), at("odd.syx"));
        const QJsonArray records = listed["records"].toArray();
        QCOMPARE(records.size(), 3);
        QCOMPARE(records[0].toObject()["slot"].toString(), QStringLiteral("B-003"));
        QCOMPARE(records[0].toObject()["name"].toString(), QStringLiteral("Warm Pad"));
        QVERIFY(records[1].toObject()["slot"].isNull());
        QCOMPARE(records[1].toObject()["valid"].toBool(), false);
        QCOMPARE(records[2].toObject()["valid"].toBool(), true);
        const QJsonObject summary = listed["summary"].toObject();
        QCOMPARE(summary["records"].toInt(), 2);
        QCOMPARE(summary["invalidPieces"].toInt(), 4);
        QCOMPARE(summary["ignoredBytes"].toInteger(), ignored);
    }

    // Several files are listed in turn under their names; one that cannot be read is named on
    // standard error, the others are still listed, and the status says a file failed.
    void listGoesOnPastAnUnreadableFile() {
        QVERIFY(WriteBytes(at("empty.syx"), ""));
        QVERIFY(WriteBytes(at("one.syx"), MakeRecord("Solo", 0, 0)));
        const auto listed = RunCli({"list", at("empty.syx"), at("missing.syx"), at("one.syx")});
        QCOMPARE(listed.status, 2);
        QVERIFY(listed.err.contains(at("missing.syx")));
        const QStringList lines = listed.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0], at("empty.syx") + ':');
        QCOMPARE(lines[1], QStringLiteral("0 records, 0 invalid pieces, 0 ignored bytes"));
        QCOMPARE(lines[2], at("one.syx") + ':');
        QVERIFY(lines[3].startsWith("A-001  Solo "));
        QCOMPARE(lines[4], QStringLiteral("1 record, 0 invalid pieces, 0 ignored bytes"));
    }

    // A name that is not UTF-8 (Latin-1 "e acute" beside a UTF-8 one) opens the file it names:
    // the shell passes bytes, and the bytes reach open() unchanged.
    void namesThatAreNotUtf8StillOpen() {
        const QByteArray name = QFile::encodeName(dir->path()) + "/caf\xE9 \xC3\xA9.syx";
        QFile file;
        QVERIFY(file.open(::fopen(name.constData(), "wb"), QIODevice::WriteOnly,
                          QFileDevice::AutoCloseHandle));
        file.write(QByteArray::fromStdString(MakeRecord("Solo", 0, 0)));
        file.close();
        QProcess shell;  // QProcess would re-encode the arguments as text
        shell.start("sh", {"-c", R"sh(exec "$0" list "$1/$(printf 'caf\351 \303\251.syx')")sh",
                           ZANQ_CLI, dir->path()});
        QVERIFY(shell.waitForFinished());
        QCOMPARE(shell.exitCode(), 0);
        QVERIFY(shell.readAllStandardOutput().contains("A-001  Solo"));
    }

    // One file per valid record, named as the Export window names it (a name that would leave
    // the folder made safe), holding the record unchanged; two records for one name: the later.
    void splitWritesEachPatchToItsOwnFile() {
        const std::string a = MakeRecord("Warm Pad", 2, 4, 1);
        const std::string unsafe = MakeRecord("../Up/Out", 0, 0, 2);
        const std::string early = MakeRecord("Twice", 7, 9, 3);
        const std::string late = MakeRecord("Twice", 7, 9, 4);
        QVERIFY(WriteBytes(at("bank.syx"), a + "junk\xF7" + unsafe + early + late));
        const auto split = RunCli({"split", at("bank.syx"), "--out", at("parts")});
        QCOMPARE(split.status, 0);
        QDir parts(at("parts"));
        QCOMPARE(parts.entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 QStringList({".._Up_Out-A-001.syx", "Twice-H-010.syx", "Warm Pad-C-005.syx"}));
        QCOMPARE(ReadBytes(parts.filePath("Warm Pad-C-005.syx")), a);
        QCOMPARE(ReadBytes(parts.filePath(".._Up_Out-A-001.syx")), unsafe);
        QCOMPARE(ReadBytes(parts.filePath("Twice-H-010.syx")), late);
    }

    // Matrix rule: slot order, the later record for a slot winning. Library rule: file order,
    // the first of each name winning, nameless records left out.
    void mergeKeepsWhatALoadWouldKeep() {
        const std::string c5 = MakeRecord("Pad", 2, 4, 1);
        const std::string a1 = MakeRecord("Bass", 0, 0, 2);
        const std::string c5again = MakeRecord("Lead", 2, 4, 3);
        const std::string samePad = MakeRecord("Pad", 5, 5, 4);
        const std::string nameless = MakeRecord("", 6, 6, 5);
        QVERIFY(WriteBytes(at("one.syx"), c5 + a1));
        QVERIFY(WriteBytes(at("two.syx"), c5again + samePad + nameless));

        const auto matrix = RunCli({"merge", at("one.syx"), at("two.syx"), "--out", at("m.syx")});
        QCOMPARE(matrix.status, 0);
        QCOMPARE(ReadBytes(at("m.syx")), a1 + c5again + samePad + nameless);

        const auto library =
            RunCli({"merge", "--library", at("one.syx"), at("two.syx"), "--out", at("l.syx")});
        QCOMPARE(library.status, 0);
        QCOMPARE(ReadBytes(at("l.syx")), c5 + a1 + c5again);
    }

    // Only the bank and program bytes change; a folder as output takes the Export's name.
    void retargetChangesOnlyTheSlotBytes() {
        const std::string record = MakeRecord("Warm Pad", 0, 0, 7);
        QVERIFY(WriteBytes(at("one.syx"), "\xF7" + record));
        QCOMPARE(RunCli({"retarget", at("one.syx"), "--to", "f-32", "--out", at("to.syx")}).status,
                 0);
        std::string expected = record;
        expected[8] = 5;
        expected[9] = 31;
        QCOMPARE(ReadBytes(at("to.syx")), expected);

        QVERIFY(QDir().mkpath(at("out")));
        QCOMPARE(RunCli({"retarget", at("one.syx"), "--to", "B-128", "--out", at("out")}).status,
                 0);
        expected[8] = 1;
        expected[9] = 127;
        QCOMPARE(ReadBytes(at("out/Warm Pad-B-128.syx")), expected);

        QVERIFY(WriteBytes(at("two.syx"), record + record));
        const auto two = RunCli({"retarget", at("two.syx"), "--to", "A-001", "--out", at("x.syx")});
        QCOMPARE(two.status, 2);
        QVERIFY(two.err.contains(at("two.syx")));
        QVERIFY(!QFile::exists(at("x.syx")));
    }

    // An existing output is left as it was and named, unless --force; then it is replaced
    // whole, nothing left of the longer file before. Split checks every name before writing.
    void existingFilesAreReplacedOnlyWithForce() {
        const std::string a = MakeRecord("Alpha", 0, 0);
        const std::string b = MakeRecord("Beta", 0, 1);
        QVERIFY(WriteBytes(at("in.syx"), a + b));
        const std::string old(5000, 'x');
        QVERIFY(WriteBytes(at("out.syx"), old));
        const auto refused = RunCli({"merge", at("in.syx"), "--out", at("out.syx")});
        QCOMPARE(refused.status, 2);
        QVERIFY(refused.err.contains(at("out.syx")));
        QCOMPARE(ReadBytes(at("out.syx")), old);
        QCOMPARE(RunCli({"merge", at("in.syx"), "--out", at("out.syx"), "--force"}).status, 0);
        QCOMPARE(ReadBytes(at("out.syx")), a + b);

        QVERIFY(QDir().mkpath(at("parts")));
        QVERIFY(WriteBytes(at("parts/Beta-A-002.syx"), old));
        QCOMPARE(RunCli({"split", at("in.syx"), "--out", at("parts")}).status, 2);
        QCOMPARE(QDir(at("parts")).entryList(QDir::Files), QStringList{"Beta-A-002.syx"});
        QCOMPARE(RunCli({"split", at("in.syx"), "--out", at("parts"), "--force"}).status, 0);
        QCOMPARE(ReadBytes(at("parts/Beta-A-002.syx")), b);
    }

    void usageErrorsExitWithTwo_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("said");
        QTest::newRow("no command") << QStringList{} << "--help";
        QTest::newRow("unknown command") << QStringList{"lst"} << "lst";
        QTest::newRow("unknown option") << QStringList{"list", "--jsn", "x"} << "list --help";
        QTest::newRow("no file") << QStringList{"merge", "--out", "x.syx"} << "merge --help";
        QTest::newRow("missing file")
            << QStringList{"list", "/nonexistent/a.syx"} << "/nonexistent/a.syx";
        QTest::newRow("bad slot") << QStringList{"retarget", "a", "--to", "I-001", "--out", "b"}
                                  << "I-001";
        QTest::newRow("bad banks")
            << QStringList{"receive", "--banks", "A-J", "--out", "b"} << "--banks";
        QTest::newRow("no folder")
            << QStringList{"receive", "--out", "/nonexistent/b.syx"} << "/nonexistent/b.syx";
    }
    void usageErrorsExitWithTwo() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, said);
        const auto run = RunCli(arguments);
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.startsWith("zanq-cli: ") && run.err.contains(said), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
    }

    void everyCommandHasItsHelp() {
        const auto general = RunCli({"--help"});
        QCOMPARE(general.status, 0);
        for (const char* command :
             {"list", "split", "merge", "retarget", "ports", "receive", "send"}) {
            QVERIFY2(general.out.contains(QStringLiteral("\n  %1 ").arg(command)), command);
            const auto help = RunCli({command, "--help"});
            QCOMPARE(help.status, 0);
            QVERIFY2(help.out.startsWith(QStringLiteral("Usage: zanq-cli %1").arg(command)),
                     qPrintable(help.out));
            QVERIFY(help.out.contains("--help"));
        }
    }
};

QTEST_GUILESS_MAIN(CliFilesTest)
#include "test_clifiles.moc"
