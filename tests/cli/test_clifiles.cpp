// zanq-cli's file commands run as a script runs them: what they print, the files they write
// byte for byte and their exit statuses, on files with the odd pieces the loader meets.

#include <QtTest>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "cli/CliRun.h"

using namespace zanq;
using test::At;
using test::MakeRecord;
using test::Moved;
using test::ReadBytes;
using test::RunCli;

class CliFilesTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString at(const QString& name) const { return dir.filePath(name); }
    void write(const QString& name, const std::string& bytes) { test::WriteBytes(at(name), bytes); }

private slots:
    // One line per record in file order, the valid and the out-of-range ones; each file's
    // summary counts what the loader skips: a lengthened record, a short message, a lone F7.
    // A file that cannot be read is named on standard error, and the status says so.
    void listShowsWhatTheLoaderSees() {
        const std::string warm = MakeRecord("Warm Pad", 1, 2);
        const std::string lastUnclosed = MakeRecord("Tail", 7, 127).substr(0, 290);
        const std::string file =
            warm + "\x01" + MakeRecord("Lost", 0, 0) + MakeRecord("Bank Nine", 8, 5) +
            std::string("\xF0\x00\x20\x32\x20\x00\x01\x00\x00\xF7", 10) + "\xF7" + lastUnclosed;
        write("odd.syx", file);
        write("empty.syx", "");
        const auto text = RunCli({"list", "odd.syx", "missing.syx", "empty.syx"}, dir.path());
        QCOMPARE(text.status, 2);
        QVERIFY(text.err.contains("missing.syx"));
        QStringList lines;
        for (const QString& line : text.out.split('\n', Qt::SkipEmptyParts))
            lines << line.simplified();
        const qint64 ignored = qint64(file.size() - warm.size() - lastUnclosed.size());
        QCOMPARE(lines,
                 QStringList({"odd.syx:", "B-003 Warm Pad valid", "? Bank Nine invalid",
                              "H-128 Tail valid",
                              QString("2 records, 4 invalid pieces, %1 ignored bytes").arg(ignored),
                              "empty.syx:", "0 records, 0 invalid pieces, 0 ignored bytes"}));

        const auto json = RunCli({"list", "--json", at("odd.syx")});
        QCOMPARE(json.status, 0);
        const QJsonArray files = QJsonDocument::fromJson(json.out.toUtf8()).array();
        QCOMPARE(files.size(), 1);
        QCOMPARE(files[0]["file"].toString(), at("odd.syx"));
        QStringList records;
        for (const QJsonValue record : files[0]["records"].toArray())
            records << record["slot"].toString("null") + ' ' + record["name"].toString() + ' ' +
                           (record["valid"].toBool() ? "valid" : "invalid");
        const QJsonValue sum = files[0]["summary"];
        records << QString("%1 %2 %3")
                       .arg(sum["records"].toInt())
                       .arg(sum["invalidPieces"].toInt())
                       .arg(sum["ignoredBytes"].toInteger());
        QCOMPARE(records, QStringList({"B-003 Warm Pad valid", "null Bank Nine invalid",
                                       "H-128 Tail valid", QString("2 4 %1").arg(ignored)}));
    }

    // A name that is not UTF-8 (Latin-1 "e acute" beside a UTF-8 one) opens the file it names:
    // the shell passes bytes, and the bytes reach open() unchanged.
    void namesThatAreNotUtf8StillOpen() {
        const QByteArray name = QFile::encodeName(dir.path()) + "/caf\xE9 \xC3\xA9.syx";
        QFile file;
        QVERIFY(file.open(::fopen(name.constData(), "wb"), QIODevice::WriteOnly,
                          QFileDevice::AutoCloseHandle));
        file.write(QByteArray::fromStdString(MakeRecord("Solo", 0, 0)));
        file.close();
        QProcess shell;  // QProcess would re-encode the arguments as text
        shell.start("sh", {"-c", R"sh(exec "$0" list "$1/$(printf 'caf\351 \303\251.syx')")sh",
                           ZANQ_CLI, dir.path()});
        QVERIFY(shell.waitForFinished());
        QCOMPARE(shell.exitCode(), 0);
        QVERIFY(shell.readAllStandardOutput().contains("A-001  Solo"));
        ::remove(name.constData());  // a name QTemporaryDir cannot remove
    }

    // Split: one file per valid record, named as the Export window names it (a name that would
    // leave the folder made safe), the later of two records for one name. Merge: the Matrix's
    // rule (slot order, the later record for a slot) or the Library's (file order, the first of
    // each name, nameless ones left out). Retarget: only the slot bytes change. An output that
    // exists is refused and left as it was, split checking every name before it writes; with
    // --force it is replaced whole.
    void writingCommandsKeepTheBytes() {
        const std::string pad = MakeRecord("Pad", 2, 4, 1), bass = MakeRecord("Bass", 0, 0, 2);
        const std::string lead = MakeRecord("Lead", 2, 4, 3), pad2 = MakeRecord("Pad", 5, 5, 4);
        const std::string nameless = MakeRecord("", 6, 6, 5), unsafe = MakeRecord("../Up", 0, 0);
        const std::string early = MakeRecord("Twice", 7, 9, 6), late = MakeRecord("Twice", 7, 9);
        const std::string old(5000, 'x');
        write("one.syx", pad + bass);
        write("two.syx", lead + pad2 + nameless + MakeRecord("Bank Nine", 8, 0));
        write("bank.syx", pad + "junk\xF7" + unsafe + early + late);
        write("lone.syx", "\xF7" + bass);
        write("old.syx", old);
        QVERIFY(QDir(dir.path()).mkpath("out"));
        write("out/Twice-H-010.syx", old);
        const std::string none = "(none)";
        const struct {
            const char* command;
            int status;
            const char* said;  // what an error message must name
            std::vector<std::pair<QString, std::string>> files;
        } cases[] = {
            {"split bank.syx --out out",
             2,
             "Twice-H-010.syx",
             {{"out/Twice-H-010.syx", old}, {"out/Pad-C-005.syx", none}}},
            {"split bank.syx --out out --force",
             0,
             "",
             {{"out/Pad-C-005.syx", pad},
              {"out/.._Up-A-001.syx", unsafe},
              {"out/Twice-H-010.syx", late}}},
            {"merge one.syx two.syx --out m.syx",
             0,
             "",
             {{"m.syx", bass + lead + pad2 + nameless}}},
            {"merge --library one.syx two.syx --out l.syx", 0, "", {{"l.syx", pad + bass + lead}}},
            {"merge one.syx --out old.syx", 2, "old.syx", {{"old.syx", old}}},
            {"merge one.syx --out old.syx --force", 0, "", {{"old.syx", bass + pad}}},
            {"retarget lone.syx --to f-32 --out f.syx",
             0,
             "",
             {{"f.syx", Moved(bass, At("F-32"))}}},
            {"retarget lone.syx --to B-128 --out out",
             0,
             "",
             {{"out/Bass-B-128.syx", Moved(bass, At("B-128"))}}},
            {"retarget one.syx --to A-001 --out x.syx", 2, "one.syx", {{"x.syx", none}}},
        };
        for (const auto& c : cases) {
            const auto run = RunCli(QString(c.command).split(' '), dir.path());
            QVERIFY2(run.status == c.status && run.err.contains(c.said),
                     qPrintable(c.command + (": " + run.err)));
            for (const auto& [name, bytes] : c.files)
                QVERIFY2(ReadBytes(at(name)) == bytes, qPrintable(c.command + (": " + name)));
        }
    }

    // Help says what each command is for; a wrong use exits with 2 and names what was wrong.
    void helpAndUsageErrors() {
        const auto general = RunCli({"--help"});
        QCOMPARE(general.status, 0);
        for (const char* command :
             {"list", "split", "merge", "retarget", "ports", "receive", "send"})
            QVERIFY2(general.out.contains(QStringLiteral("\n  %1 ").arg(command)), command);
        const auto help = RunCli({"send", "--help"});
        QCOMPARE(help.status, 0);
        QVERIFY2(help.out.startsWith("Usage: zanq-cli send FILE"), qPrintable(help.out));

        const std::pair<QStringList, QString> cases[] = {
            {{}, "--help"},
            {{"lst"}, "lst"},
            {{"list", "--jsn", "x"}, "list --help"},
            {{"merge", "--out", "x.syx"}, "merge --help"},
            {{"retarget", "a", "--to", "I-001", "--out", "b"}, "I-001"},
            {{"receive", "--banks", "A-J", "--out", "b"}, "--banks"},
            {{"receive", "--out", "/nonexistent/b.syx"}, "/nonexistent/b.syx"}};
        for (const auto& [arguments, said] : cases) {
            const auto run = RunCli(arguments);
            QVERIFY2(run.status == 2 && run.err.startsWith("zanq-cli: ") &&
                         run.err.contains(said) && run.out.isEmpty(),
                     qPrintable(arguments.join(' ') + ": " + run.err));
        }
    }
};

QTEST_GUILESS_MAIN(CliFilesTest)
#include "test_clifiles.moc"
