#include <QtTest>

#include <vector>

#include "model/Library.h"
#include "model/Matrix.h"
#include "support/Records.h"

using namespace zanq;
using zanq::test::MakeRecord;

// The listener side of the library (what List1 follows) is checked through the list itself in
// the main window's tests.
class StoresTest : public QObject {
    Q_OBJECT
private slots:
    void matrixPlacesByOwnBytesAndLaterWins() {
        Matrix m;
        std::vector<std::pair<int, int>> changed;
        m.setObserver([&](int b, int s) { changed.emplace_back(b, s); });
        m.PutInMatrix(MakeRecord("First", 2, 6, 1));
        m.PutInMatrix(MakeRecord("Second", 2, 6, 2));
        QCOMPARE(m.at(3, 7), MakeRecord("Second", 2, 6, 2));
        QCOMPARE(m.CountBankPatches(3), 1);
        QVERIFY(changed == (std::vector<std::pair<int, int>>{{3, 7}, {3, 7}}));
    }

    void countsIgnoreScratchBankAndCountBlankNames() {
        Matrix m;
        m.set(Matrix::kScratchBank, 1, MakeRecord("Parked", 0, 0));
        m.PutInMatrix(MakeRecord("", 0, 0));  // occupied, though it shows blank
        m.PutInMatrix(MakeRecord("H128", 7, 127));
        QCOMPARE(m.CountMatrixPatches(), 2);
        QCOMPARE(m.CountBankPatches(1), 1);
        m.ClearBank(8);
        QCOMPARE(m.CountMatrixPatches(), 1);
        QVERIFY(!m.isEmpty(Matrix::kScratchBank, 1));
    }

    void libraryDuplicateRuleAndEmptyName() {
        Library lib;
        QCOMPARE(lib.size(), std::size_t(1));
        QVERIFY(!lib.IsNewInLibrary(""));
        QVERIFY(lib.AddIfNew(MakeRecord("Pad", 0, 0)));
        QVERIFY(!lib.AddIfNew(MakeRecord("Pad", 1, 1)));
        QVERIFY(lib.AddIfNew(MakeRecord("pad", 1, 1)));  // case-sensitive
        QVERIFY(!lib.AddIfNew(MakeRecord("", 1, 2)));
        QCOMPARE(lib.size(), std::size_t(3));
        QCOMPARE(lib.FindInLibrary("pad"), std::size_t(2));
        QCOMPARE(lib.FindInLibrary("Bass"), std::size_t(0));
    }

    void removalLeavesHoleAndNameReturns() {
        Library lib;
        lib.AddToLibrary(MakeRecord("Pad", 0, 0, 1));
        lib.AddToLibrary(MakeRecord("Bass", 0, 1));
        QVERIFY(lib.RemoveFromLibrary("Pad"));
        QVERIFY(!lib.RemoveFromLibrary("Pad"));
        QCOMPARE(lib.size(), std::size_t(3));
        QCOMPARE(lib.FindInLibrary("Bass"), std::size_t(2));
        QCOMPARE(lib.patchCount(), std::size_t(1));
        // The emptied entry has the empty name: a linear walk would find it first.
        QCOMPARE(lib.FindInLibrary(""), std::size_t(1));
        QVERIFY(lib.AddIfNew(MakeRecord("Pad", 3, 3, 2)));
        QCOMPARE(lib.FindInLibrary("Pad"), std::size_t(3));
        QVERIFY(lib.entry(1).empty());
    }

    void findGivesLowestIndexOfDuplicates() {
        Library lib;
        lib.AddToLibrary(MakeRecord("Twin", 0, 0, 1));
        lib.AddToLibrary(MakeRecord("Other", 0, 1));
        lib.AddToLibrary(MakeRecord("Twin", 0, 2, 2));  // only possible by bypassing the rule
        QCOMPARE(lib.FindInLibrary("Twin"), std::size_t(1));
        QVERIFY(lib.RemoveFromLibrary("Twin"));
        QCOMPARE(lib.FindInLibrary("Twin"), std::size_t(3));
    }

    void clearingStartsOver() {
        Library lib;
        for (int i = 0; i < 5; ++i)
            lib.AddIfNew(MakeRecord("P" + std::to_string(i), 0, i));
        lib.RemoveFromLibrary("P2");
        lib.ClearLibrary();
        QCOMPARE(lib.size(), std::size_t(1));
        QCOMPARE(lib.patchCount(), std::size_t(0));
        QCOMPARE(lib.FindInLibrary(""), std::size_t(0));
        QVERIFY(lib.AddIfNew(MakeRecord("P2", 0, 0)));
        QCOMPARE(lib.FindInLibrary("P2"), std::size_t(1));
    }
};

QTEST_APPLESS_MAIN(StoresTest)
#include "test_stores.moc"
