#include <QtTest>

#include <vector>

#include "banktools/BankCopy.h"
#include "support/Records.h"

using namespace zanq;

namespace {
using Bank = std::vector<PatchRecord>;

// Fills a bank with records whose own bytes place them there, leaving every third slot empty.
void FillBank(Matrix& m, int bank, const std::string& stem, int seed) {
    for (int slot = 1; slot <= kSlots; ++slot)
        if (slot % 3 != 0)
            m.set(bank, slot,
                  test::MakeRecord(stem + std::to_string(slot), bank - 1, slot - 1, seed + slot));
}

Bank Slots(const Matrix& m, int bank) {
    Bank out;
    for (int slot = 1; slot <= kSlots; ++slot)
        out.push_back(m.at(bank, slot));
    return out;
}

// The same records as they read once they sit in bank b: bytes 9 and 10 rewritten.
Bank MovedTo(Bank records, int bank) {
    for (int slot = 1; slot <= kSlots; ++slot)
        records[slot - 1] = SetBankProgram(records[slot - 1], bank - 1, slot - 1);
    return records;
}
}  // namespace

class BankCopyTest : public QObject {
    Q_OBJECT
private slots:
    void copyOverwritesEveryDestinationSlot() {
        Matrix m;
        FillBank(m, 2, "Old", 5);
        m.set(1, 1, test::MakeRecord("Lead", 0, 0, 1));
        m.set(1, 5, test::MakeRecord("Pad", 0, 4, 2));
        const Bank a = Slots(m, 1);
        CopyBank(m, 1, 2);
        QVERIFY(Slots(m, 2) == MovedTo(a, 2));  // B's old records are gone with A's empty slots
        QVERIFY(Slots(m, 1) == a);
        QCOMPARE(GetBankByte(m.at(2, 5)), 1);
        QCOMPARE(GetProgramByte(m.at(2, 5)), 4);
    }

    void swapExchangesBanksAndRetargets() {
        Matrix m;
        FillBank(m, 3, "Cee", 10);
        m.set(6, 3, test::MakeRecord("Eff", 5, 2, 99));  // F holds one record where C is empty
        const Bank c = Slots(m, 3);
        const Bank f = Slots(m, 6);
        SwapBanks(m, 3, 6);
        QVERIFY(Slots(m, 6) == MovedTo(c, 6));
        QVERIFY(Slots(m, 3) == MovedTo(f, 3));
        QVERIFY(Slots(m, Matrix::kScratchBank) == f);  // F's former records, as they were
    }

    void swappingTwiceOrWithItselfChangesNothing() {
        Matrix m;
        FillBank(m, 1, "Alpha", 1);
        FillBank(m, 8, "Omega", 2);
        m.set(8, 3, test::MakeRecord("Gap", 7, 2, 3));
        const Bank a = Slots(m, 1);
        const Bank h = Slots(m, 8);
        SwapBanks(m, 1, 8);
        SwapBanks(m, 1, 8);
        QVERIFY(Slots(m, 1) == a && Slots(m, 8) == h);
        CopyBank(m, 8, 8);
        SwapBanks(m, 1, 1);
        QVERIFY(Slots(m, 1) == a && Slots(m, 8) == h);
    }
};

QTEST_APPLESS_MAIN(BankCopyTest)
#include "test_bankcopy.moc"
