// zanq-cli's MIDI commands end to end: the real program over a running JACK server, against
// the simulated DeepMind, under a client name of this test's own so that it aims at its own
// synth. A nightly backup of all eight banks and its restore, a verified send, a synth that
// stops answering, and the ports listing that says which ports would be used.

#include <QtTest>

#include <QTemporaryDir>

#include "cli/CliRun.h"
#include "support/DeepMindSim.h"
#include "support/Records.h"

using namespace zanq;
using test::ReadBytes;
using test::RunCli;

namespace {

// Every slot of the memory holding a record of its own, named after its slot.
std::string WholeMemory() {
    std::string memory;
    for (int i = 0; i < Bank::kCount * Program::kCount; ++i) {
        const Slot slot = Slot::fromIndex(i);
        memory += test::MakeRecord("T " + slot.text(), slot.bank.byte(), slot.program.byte(), 3);
    }
    return memory;
}

std::string SlotIn(const std::string& memory, const char* slot) {
    return memory.substr(static_cast<std::size_t>(test::At(slot).index()) * 291, 291);
}

}  // namespace

class CliMidiTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir;
    test::DeepMindSim sim;
    const QString client = QStringLiteral("DeepMind12 c%1").arg(QCoreApplication::applicationPid());

    QString at(const QString& name) const { return dir->filePath(name); }
    bool startSim(QStringList options = {}) {
        return sim.start(options << "--client" << client << "--save" << at("memory.syx"));
    }
    std::string simMemory() { return sim.save() ? ReadBytes(at("memory.syx")) : std::string(); }
    qsizetype requestsSeen() { return sim.lines().filter(QRegularExpression("^request")).size(); }

private slots:
    void initTestCase() { ZANQ_NEED_JACK_SERVER(); }
    void init() { dir = std::make_unique<QTemporaryDir>(); }
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

        const auto byName = RunCli({"ports", "--port", plainName.toLower()});
        QCOMPARE(byName.status, 0);
        const QStringList plainPorts = marked(byName.out);
        QCOMPARE(plainPorts.size(), 2);
        QVERIFY(plainPorts[0].startsWith("output") && plainPorts[0].contains(plainName));
        QVERIFY(plainPorts[1].startsWith("input") && plainPorts[1].contains(plainName));

        const auto none = RunCli({"ports", "--port", "no port is called this"});
        QCOMPARE(none.status, 0);
        QVERIFY(marked(none.out).isEmpty());
        QVERIFY(none.err.contains("no output port"));
    }

    // Two commands: all eight banks into a file, byte for byte as the synth holds them, and
    // that file back into another synth, every patch in the slot it came from. No progress
    // line when standard error is not a terminal.
    void backupAndRestoreAllBanks() {
        const std::string memory = WholeMemory();
        QVERIFY(test::WriteBytes(at("source.syx"), memory));
        QVERIFY(startSim({"--syx", at("source.syx")}));
        const auto backup =
            RunCli({"receive", "--banks", "A-H", "--out", at("backup.syx"), "--port", client});
        QCOMPARE(backup.status, 0);
        QCOMPARE(ReadBytes(at("backup.syx")), memory);
        QVERIFY2(backup.out.contains("1024 of 1024"), qPrintable(backup.out));
        QVERIFY2(backup.err.isEmpty(), qPrintable(backup.err));
        sim.stop();

        QVERIFY(startSim());
        QVERIFY(simMemory() != memory);
        const auto restore = RunCli({"send", at("backup.syx"), "--port", client});
        QCOMPARE(restore.status, 0);
        QVERIFY(sim.waitForLine("stored H-128"));
        QCOMPARE(simMemory(), memory);
    }

    // Only the banks asked for go out, each patch to the slot it names; --verify reads them
    // back, and a synth that gives back other bytes makes the send incomplete.
    void sendTakesOnlyTheBanksAskedAndVerifies() {
        QVERIFY(startSim());
        const std::string before = simMemory();
        const std::string c7 = test::MakeRecord("Sent", 2, 6, 1);
        const std::string d1 = test::MakeRecord("Kept back", 3, 0, 2);
        QVERIFY(test::WriteBytes(at("two.syx"), d1 + c7));
        const auto sent =
            RunCli({"send", at("two.syx"), "--banks", "c", "--verify", "--port", client});
        QCOMPARE(sent.status, 0);
        QVERIFY2(sent.out.contains("Read back: 1 of 1 matched"), qPrintable(sent.out));
        const std::string after = simMemory();
        QCOMPARE(SlotIn(after, "C-7"), c7);
        QCOMPARE(SlotIn(after, "D-1"), SlotIn(before, "D-1"));
        sim.stop();

        QVERIFY(startSim({"--fault", "other-slot"}));
        const auto differs = RunCli({"send", at("two.syx"), "--verify", "--port", client});
        QCOMPARE(differs.status, 1);
        QVERIFY2(differs.out.contains("Did not match: C-007, D-001"), qPrintable(differs.out));
    }

    // The synth goes away after 100 programs: the run ends, the file keeps what came, the
    // report names what did not, and the status says the backup is not whole. A send with no
    // synth to send to says that nothing was sent.
    void aSynthThatStopsAnsweringLeavesAPartialBackup() {
        QVERIFY(startSim({"--vanish-after", "100"}));
        const std::string memory = simMemory();
        const auto partial =
            RunCli({"receive", "--banks", "A,B", "--out", at("part.syx"), "--port", client});
        QCOMPARE(partial.status, 1);
        QCOMPARE(ReadBytes(at("part.syx")), memory.substr(0, 100 * 291));
        QVERIFY2(partial.out.contains("Received 100 of 256. Not received: A-101"),
                 qPrintable(partial.out));
        QVERIFY2(partial.out.contains(" to B-128: not requested\n"), qPrintable(partial.out));

        QVERIFY(test::WriteBytes(at("three.syx"), memory.substr(0, 3 * 291)));
        const auto unsent = RunCli({"send", at("three.syx"), "--port", client});
        QCOMPARE(unsent.status, 1);
        QVERIFY(unsent.err.contains("no '" + client + "' MIDI output port"));
        QVERIFY(unsent.err.contains("nothing was sent"));
    }

    // An output file that exists is refused before the synth is asked for anything.
    void anExistingBackupIsRefusedBeforeTheRun() {
        QVERIFY(startSim());
        QVERIFY(test::WriteBytes(at("old.syx"), "old"));
        const auto refused = RunCli({"receive", "--out", at("old.syx"), "--port", client});
        QCOMPARE(refused.status, 2);
        QVERIFY(refused.err.contains(at("old.syx")));
        QCOMPARE(ReadBytes(at("old.syx")), std::string("old"));
        QCOMPARE(requestsSeen(), 0);
    }
};

QTEST_GUILESS_MAIN(CliMidiTest)
#include "test_climidi.moc"
