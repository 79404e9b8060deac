#include <QtTest>

#include <vector>

#include "model/Librarian.h"
#include "support/Records.h"

using namespace zanq;
using zanq::test::At;
using zanq::test::MakeRecord;
using zanq::test::Moved;

namespace {
// Every signal the Librarian sends, in order, as one short line each.
struct SignalLog {
    QStringList lines;
    explicit SignalLog(Librarian& l) {
        QObject::connect(&l, &Librarian::slotChanged, [this](Slot s) {
            lines << QStringLiteral("slot ") + QString::fromStdString(s.text());
        });
        QObject::connect(&l, &Librarian::bankChanged, [this](Bank b) {
            lines << QStringLiteral("bank ") + QChar::fromLatin1(b.letter());
        });
        QObject::connect(
            &l, &Librarian::libraryEntryAdded, [this](std::size_t i, const std::string& n) {
                lines << QStringLiteral("added %1 %2").arg(i).arg(QString::fromStdString(n));
            });
        QObject::connect(
            &l, &Librarian::libraryEntryRemoved, [this](std::size_t i, const std::string& n) {
                lines << QStringLiteral("removed %1 %2").arg(i).arg(QString::fromStdString(n));
            });
        QObject::connect(&l, &Librarian::libraryCleared, [this] { lines << "cleared"; });
        QObject::connect(&l, &Librarian::libraryCountChanged,
                         [this](std::size_t n) { lines << QStringLiteral("count %1").arg(n); });
    }
    QStringList take() { return std::exchange(lines, {}); }
};
}  // namespace

class LibrarianTest : public QObject {
    Q_OBJECT
private slots:
    void loadingPlacesByOwnBytesAndAddsNewNamesOnly() {
        test::TestLibrarian t;
        Librarian& l = t.librarian;
        SignalLog log(l);
        PatchRecord badBank = MakeRecord("Bad", 0, 0);
        badBank[8] = 8;
        const std::vector<PatchRecord> file = {
            MakeRecord("First", 2, 6, 1), badBank,       MakeRecord("Second", 2, 6, 2),
            MakeRecord("", 7, 127),       PatchRecord(), MakeRecord("First", 0, 0, 3),
        };
        const LoadCounts counts = l.apply(file, LoadTarget::Both);
        QCOMPARE(counts.records, std::size_t(4));
        QCOMPARE(counts.placedInMatrix, std::size_t(4));
        QCOMPARE(counts.addedToLibrary, std::size_t(2));
        QCOMPARE(l.at(At("C-7")), file[2]);  // the later record for a slot wins, bytes as read
        QCOMPARE(l.at(At("A-1")), file[5]);
        QVERIFY(!l.isEmpty(At("H-128")));  // occupied though its name is blank
        QCOMPARE(l.matrix().CountMatrixPatches(), 3);
        QCOMPARE(l.libraryPatch("First"), std::optional<PatchRecord>(file[0]));
        QCOMPARE(log.take(), QStringList({"added 1 First", "added 2 Second", "bank A", "bank C",
                                          "bank H", "count 2"}));

        l.apply(MakeRecord("Solo", 4, 9), LoadTarget::Library);
        QVERIFY(l.isEmpty(At("E-10")));
        l.apply(MakeRecord("Duo", 4, 9), LoadTarget::Matrix);
        l.apply(std::vector{MakeRecord("Trio", 4, 10)}, LoadTarget::Matrix);
        QVERIFY(!l.libraryPatch("Duo") && !l.libraryPatch("Trio"));
        QCOMPARE(log.take(), QStringList({"added 3 Solo", "count 3", "slot E-010", "bank E"}));
    }

    void placingCopyingDeletingAndReceivingOneSlot() {
        test::TestLibrarian t;
        Librarian& l = t.librarian;
        const PatchRecord lead = MakeRecord("Lead", 1, 2, 4);
        l.apply(lead, LoadTarget::Library);
        SignalLog log(l);

        QVERIFY(l.copyFromLibrary("Lead", At("G-3")));
        QVERIFY(l.copyFromLibrary("Lead", At("G-4")));
        QVERIFY(!l.copyFromLibrary("lead", At("G-5")));  // names match exactly
        QCOMPARE(l.at(At("G-4")), Moved(lead, At("G-4")));
        QCOMPARE(l.libraryPatch("Lead"),
                 std::optional<PatchRecord>(lead));  // library keeps its copy

        l.place(At("A-2"), lead);
        QCOMPARE(l.at(At("A-2")), Moved(lead, At("A-2")));
        l.deleteSlot(At("G-3"));
        QVERIFY(l.isEmpty(At("G-3")));

        // A reply is stored where it says, byte for byte; anything else changes nothing.
        const PatchRecord reply = MakeRecord("Reply", 5, 17, 5);
        QCOMPARE(l.storeReceived(reply), std::optional<Slot>(At("F-18")));
        QCOMPARE(l.at(At("F-18")), reply);
        QVERIFY(!l.storeReceived(reply.substr(0, 290)));
        QVERIFY(!l.storeReceived(MakeRecord("Far", 0, 0) + reply));
        QCOMPARE(log.take(), QStringList({"slot G-003", "slot G-004", "slot A-002", "slot G-003",
                                          "slot F-018"}));
    }

    // Swaps and moves are checked where the windows make them; a bank copy's retargeting only here.
    void bankCopyRetargetsEverySlotEmptiesIncluded() {
        test::TestLibrarian t;
        Librarian& l = t.librarian;
        const PatchRecord a1 = MakeRecord("A1", 0, 0, 1), h9 = MakeRecord("H9", 7, 8, 5);
        l.apply({a1, h9}, LoadTarget::Matrix);
        SignalLog log(l);
        l.copyBank(Bank::fromNumber(8), Bank::fromNumber(1));
        QCOMPARE(l.at(At("A-9")), Moved(h9, At("A-9")));
        QVERIFY(l.isEmpty(At("A-1")));  // an empty source slot empties its destination
        QCOMPARE(l.at(At("H-9")), h9);
        QCOMPARE(l.matrix().CountMatrixPatches(), 2);
        QCOMPARE(log.take(), QStringList({"bank A"}));
    }

    void libraryRemovalLeavesAHoleAndClearingStartsOver() {
        test::TestLibrarian t;
        Librarian& l = t.librarian;
        l.apply({MakeRecord("Pad", 0, 0, 1), MakeRecord("Bass", 0, 1), MakeRecord("Keys", 0, 2)},
                LoadTarget::Both);
        SignalLog log(l);

        QVERIFY(l.deleteFromLibrary("Pad"));
        QVERIFY(!l.deleteFromLibrary("Pad"));
        QCOMPARE(l.library().size(), std::size_t(4));  // the entry stays, emptied
        QCOMPARE(l.library().FindInLibrary("Bass"), std::size_t(2));
        QCOMPARE(l.apply(MakeRecord("Pad", 3, 3, 2), LoadTarget::Library).addedToLibrary,
                 std::size_t(1));
        QCOMPARE(l.library().FindInLibrary("Pad"), std::size_t(4));
        QCOMPARE(log.take(), QStringList({"removed 1 Pad", "count 2", "added 4 Pad", "count 3"}));

        l.clear({Bank::fromNumber(1)}, false);
        QCOMPARE(l.matrix().CountMatrixPatches(), 0);
        QCOMPARE(l.library().patchCount(), std::size_t(3));
        l.clear({}, true);
        QCOMPARE(l.library().size(), std::size_t(1));
        QVERIFY(!l.libraryPatch("Bass"));
        QCOMPARE(l.apply(MakeRecord("Bass", 0, 1), LoadTarget::Library).addedToLibrary,
                 std::size_t(1));
        QCOMPARE(log.take(),
                 QStringList({"bank A", "cleared", "count 0", "added 1 Bass", "count 1"}));
    }
};

QTEST_GUILESS_MAIN(LibrarianTest)
#include "test_librarian.moc"
