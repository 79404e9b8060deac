// The report of a bank run: what its summary and its list say about slots that arrived, did
// not, were never reached or came back different, and when a run counts as complete. How runs
// that stop say so is checked where they stop, in the exchange and fault tests.

#include <QtTest>

#include "midi/RunReport.h"
#include "support/Records.h"

using namespace zanq;
using test::At;

namespace {

std::vector<Slot> SlotsOf(int number, int from = 1, int to = Program::kCount) {
    std::vector<Slot> planned;
    for (int p = from; p <= to; ++p)
        planned.push_back(At(number, p));
    return planned;
}

// A report with every slot of plan done except those listed with another result.
RunReport Fed(RunKind kind, const std::vector<Slot>& plan,
              const std::map<Slot, SlotResult>& except = {}) {
    RunReport report(kind, "DeepMind");
    report.plan(plan);
    for (Slot slot : plan) {
        const auto it = except.find(slot);
        report.record(slot, it == except.end() ? SlotResult::Done : it->second);
    }
    return report;
}

}  // namespace

class RunReportTest : public QObject {
    Q_OBJECT

private slots:
    void aReceiveNamesEveryProgramThatDidNotArrive() {
        RunReport report = Fed(RunKind::Receive, SlotsOf(2),
                               {{At("B-5"), SlotResult::NoReply},
                                {At("B-10"), SlotResult::Garbled},
                                {At("B-15"), SlotResult::NoReply}});
        report.end(RunEnd::Completed, At("B-128"));
        QCOMPARE(report.summary(),
                 QStringLiteral("Received 125 of 128. Not received: B-005, B-010, B-015"));
        QCOMPARE(report.details(),
                 QStringList({"B-005: no reply", "B-010: garbled reply", "B-015: no reply"}));
        QCOMPARE(report.done(), 125);
        QVERIFY(!report.complete());

        // A reply for another slot was stored there: the slot asked for still did not arrive.
        RunReport elsewhere(RunKind::Receive, "DeepMind");
        elsewhere.plan(SlotsOf(3, 1, 2));
        elsewhere.record(At("C-1"), SlotResult::Done);
        elsewhere.record(At("C-2"), SlotResult::Elsewhere, At("E-7"));
        elsewhere.end(RunEnd::Completed, At("C-2"));
        QCOMPARE(elsewhere.details(),
                 QStringList{"C-002: the reply was for E-007 and was stored there"});
        QVERIFY(!elsewhere.complete());

        RunReport whole = Fed(RunKind::Receive, SlotsOf(1));
        whole.end(RunEnd::Completed, At("A-128"));
        QCOMPARE(whole.summary(), QStringLiteral("Received 128 of 128"));
        QVERIFY(whole.details().isEmpty());
        QVERIFY(whole.complete());
    }

    void neighboursWithTheSameFateShareALine() {
        std::map<Slot, SlotResult> misses;
        for (int p : {3, 4, 5, 9, 20, 30, 40, 50, 60, 70, 80, 90})
            misses[At(4, p)] = SlotResult::NoReply;
        misses[At(4, 6)] = SlotResult::Garbled;
        RunReport report = Fed(RunKind::Receive, SlotsOf(4), misses);
        report.end(RunEnd::Completed, At("D-128"));
        const QStringList lines = report.details();
        QCOMPARE(lines.mid(0, 3), QStringList({"D-003 to D-005: no reply", "D-006: garbled reply",
                                               "D-009: no reply"}));
        QCOMPARE(lines.size(), 11);
        // The summary names the first runs and counts the rest.
        QVERIFY2(report.summary().endsWith(QStringLiteral("D-003 to D-006, D-009, D-020, D-030, "
                                                          "D-040, D-050, D-060, D-070 and 2 more")),
                 qPrintable(report.summary()));

        // Banks apart in the plan stay apart in the list, even next to each other in memory.
        RunReport send(RunKind::Send, "DeepMind");
        std::vector<Slot> plan = SlotsOf(1, 127, 128);
        plan.push_back(At("C-1"));
        send.plan(plan);
        send.end(RunEnd::PortUnavailable, std::nullopt);
        QCOMPARE(send.details(), QStringList({"A-127 to A-128: not sent", "C-001: not sent"}));
    }

    void aStoppedSendSaysWhereItStopped() {
        const std::vector<Slot> plan = {At("A-1"), At("A-2"), At("A-3"), At("A-5")};
        RunReport user(RunKind::Send, "DeepMind");
        user.plan(plan);
        user.end(RunEnd::Stopped, std::nullopt);
        QCOMPARE(user.summary(), QStringLiteral("Stopped before the first patch at the user's "
                                                "request. Sent 0 of 4 patches to the DeepMind"));

        RunReport one = Fed(RunKind::Send, {At("H-1")});
        one.end(RunEnd::Completed, At("H-1"));
        QCOMPARE(one.summary(), QStringLiteral("Sent 1 patch to the DeepMind"));
        QVERIFY(one.complete());
    }

    void aReadBackCountsOnlyIdenticalPatches() {
        const std::vector<Slot> plan = SlotsOf(1, 1, 5);
        RunReport report = Fed(RunKind::Send, plan);
        report.expectReadBack();
        QVERIFY(!report.complete());  // sent, but not read back yet
        report.record(At("A-1"), SlotResult::Matched);
        report.record(At("A-2"), SlotResult::Differs);
        report.record(At("A-3"), SlotResult::Matched);
        report.record(At("A-4"), SlotResult::NotReadBack);
        report.record(At("A-5"), SlotResult::Matched);
        report.end(RunEnd::Completed, At("A-5"));
        QCOMPARE(report.summary(), QStringLiteral("Sent 5 patches to the DeepMind. Read back: 3 of "
                                                  "5 matched. Did not match: A-002, A-004"));
        QCOMPARE(report.details(),
                 QStringList({"A-002: read back different", "A-004: not read back"}));
        QCOMPARE(report.done(), 5);
        QVERIFY(!report.complete());

        report.record(At("A-2"), SlotResult::Matched);
        report.record(At("A-4"), SlotResult::Matched);
        QVERIFY(report.complete());
        QVERIFY(report.details().isEmpty());
    }
};

QTEST_GUILESS_MAIN(RunReportTest)
#include "test_runreport.moc"
