// zanq-cli's MIDI commands over JACK against the simulated DeepMind, under a client name of this
// test's own: ports, banks, files and exit statuses.

#include <QtTest>

#include <QTemporaryDir>

#include "cli/CliRun.h"
#include "support/DeepMindSim.h"

using namespace zanq;
using test::ReadBytes;
using test::RunCli;

namespace {

// Every slot of the memory holding a record of its own, named after its slot.
std::string WholeMemory() {
    std::string memory;
    for (int b = 1; b <= Bank::kCount; ++b)
        memory += test::Series("T " + BankLetter(b) + "-", b, Program::kCount, b * 200);
    return memory;
}

// The records of a memory from this slot on, in slot order.
std::string Slots(const std::string& memory, const char* first, int count) {
    return memory.substr(static_cast<std::size_t>(test::At(first).index()) * kRecordLength,
                         count * kRecordLength);
}

}  // namespace

class CliMidiTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    test::DeepMindSim sim;
    const QString client = QStringLiteral("DeepMind12 c%1").arg(QCoreApplication::applicationPid());

    QString at(const QString& name) const { return dir.filePath(name); }
    bool startSim(QStringList options = {}) {
        return sim.start(options << "--client" << client << "--save" << at("memory.syx"));
    }
    std::string simMemory() { return sim.save() ? ReadBytes(at("memory.syx")) : std::string(); }
    test::CliResult run(QStringList arguments) { return RunCli(arguments << "--port" << client); }

private slots:
    void initTestCase() { ZANQ_NEED_JACK_SERVER(); }
    void cleanup() { sim.stop(); }

    // The ports receive and send would use are marked: the synth's by default, those named by
    // --port when given; a name that matches nothing marks nothing and says so.
    void portsMarksTheSynthsPorts() {
        test::DeepMindSim plain;
        const QString plainName =
            QStringLiteral("Plain Synth c%1").arg(QCoreApplication::applicationPid());
        QVERIFY(plain.start({"--client", plainName}));
        QVERIFY(startSim());
        const auto marked = [](const QString& out) {
            return out.split('\n').filter(QRegularExpression("^\\S+ +\\* "));
        };
        const auto byRule = RunCli({"ports"});
        QCOMPARE(byRule.status, 0);
        QVERIFY(byRule.out.contains(plainName));
        QCOMPARE(marked(byRule.out).size(), 2);
        for (const QString& line : marked(byRule.out))
            QVERIFY2(line.contains("deepmind", Qt::CaseInsensitive), qPrintable(line));

        const QStringList plainPorts = marked(RunCli({"ports", "--port", plainName.toLower()}).out);
        QCOMPARE(plainPorts.size(), 2);
        QVERIFY(plainPorts[0].startsWith("output") && plainPorts[0].contains(plainName));
        QVERIFY(plainPorts[1].startsWith("input") && plainPorts[1].contains(plainName));

        const auto none = RunCli({"ports", "--port", "no port is called this"});
        QCOMPARE(none.status, 0);
        QVERIFY(marked(none.out).isEmpty());
        QVERIFY(none.err.contains("no output port"));
    }

    // The banks asked for into a file, byte for byte as the synth holds them, with no progress
    // line when standard error is not a terminal; then one of them back into another synth,
    // read back. A synth that gives back other bytes makes the send incomplete.
    void backupAndVerifiedRestoreOfTheBanksAsked() {
        const std::string source = WholeMemory();
        test::WriteBytes(at("source.syx"), source);
        QVERIFY(startSim({"--syx", at("source.syx")}));
        const auto backup = run({"receive", "--banks", "B,D", "--out", at("backup.syx")});
        QCOMPARE(backup.status, 0);
        QCOMPARE(ReadBytes(at("backup.syx")),
                 Slots(source, "B-1", 128) + Slots(source, "D-1", 128));
        QVERIFY2(backup.out.contains("256 of 256"), qPrintable(backup.out));
        QVERIFY2(backup.err.isEmpty(), qPrintable(backup.err));

        QVERIFY(startSim());
        const std::string before = simMemory();
        const auto restore = run({"send", at("backup.syx"), "--banks", "d", "--verify"});
        QCOMPARE(restore.status, 0);
        QVERIFY2(restore.out.contains("Read back: 128 of 128 matched"), qPrintable(restore.out));
        const std::string after = simMemory();
        QCOMPARE(Slots(after, "D-1", 128), Slots(source, "D-1", 128));
        QCOMPARE(Slots(after, "A-1", 3 * 128), Slots(before, "A-1", 3 * 128));

        QVERIFY(startSim({"--fault", "other-slot"}));
        test::WriteBytes(at("two.syx"), Slots(source, "C-7", 2));
        const auto differs = run({"send", at("two.syx"), "--verify"});
        QCOMPARE(differs.status, 1);
        QVERIFY2(differs.out.contains("Did not match: C-007 to C-008"), qPrintable(differs.out));
    }

    // An output file that exists is refused before the synth is asked for anything. The synth
    // goes away after 100 programs: the file keeps what came, the report names what did not,
    // and the status says the backup is not whole; a send then says that nothing was sent.
    void aPartialBackupIsWrittenAndAnOldOneKept() {
        QVERIFY(startSim({"--vanish-after", "100"}));
        const std::string memory = simMemory();
        test::WriteBytes(at("old.syx"), "old");
        const auto refused = run({"receive", "--out", at("old.syx")});
        QCOMPARE(refused.status, 2);
        QVERIFY(refused.err.contains(at("old.syx")));
        QCOMPARE(ReadBytes(at("old.syx")), std::string("old"));
        QVERIFY(sim.lines().filter(QRegularExpression("^request")).isEmpty());

        const auto partial = run({"receive", "--banks", "A,B", "--out", at("part.syx")});
        QCOMPARE(partial.status, 1);
        QCOMPARE(ReadBytes(at("part.syx")), Slots(memory, "A-1", 100));
        QVERIFY2(partial.out.contains("Received 100 of 256. Not received: A-101"),
                 qPrintable(partial.out));
        QVERIFY2(partial.out.contains(" to B-128: not requested\n"), qPrintable(partial.out));

        const auto unsent = run({"send", at("part.syx")});
        QCOMPARE(unsent.status, 1);
        QVERIFY(unsent.err.contains("no '" + client + "' MIDI output port"));
        QVERIFY(unsent.err.contains("nothing was sent"));
    }
};

QTEST_GUILESS_MAIN(CliMidiTest)
#include "test_climidi.moc"
