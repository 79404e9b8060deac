#include <QtTest>

#include "banktools/BankCopy.h"
#include "support/Records.h"

using namespace zanq;

namespace {
// Fills a bank with records whose own bytes place them there, leaving some slots empty.
void FillBank(Matrix& m, int bank, const std::string& stem, int seed) {
    for (int slot = 1; slot <= kSlots; ++slot) {
        if (slot % 3 == 0)
            continue;
        m.set(bank, slot,
              test::MakeRecord(stem + std::to_string(slot), bank - 1, slot - 1, seed + slot));
    }
}
}  // namespace

class BankCopyTest : public QObject {
    Q_OBJECT
private slots:
    void copyOverwritesEveryDestinationSlot() {
        Matrix m;
        FillBank(m, 2, "Old", 5);
        const PatchRecord one = test::MakeRecord("Lead", 0, 0, 1);
        const PatchRecord five = test::MakeRecord("Pad", 0, 4, 2);
        m.set(1, 1, one);
        m.set(1, 5, five);

        CopyBank(m, 1, 2);

        QCOMPARE(m.CountBankPatches(2), 2);
        QCOMPARE(GetBankByte(m.at(2, 1)), 1);
        QCOMPARE(GetProgramByte(m.at(2, 1)), 0);
        QCOMPARE(GetProgramByte(m.at(2, 5)), 4);
        QVERIFY(m.at(2, 5) == SetBankProgram(five, 1, 4));
        // Only bytes 9 and 10 differ from the source record.
        for (std::size_t i = 0; i < kRecordLength; ++i)
            if (i != 8)
                QCOMPARE(m.at(2, 1)[i], one[i]);
        QVERIFY(m.at(1, 1) == one);
        QVERIFY(m.at(1, 5) == five);
        QCOMPARE(m.CountBankPatches(1), 2);
    }

    void swapExchangesBanksAndRetargets() {
        Matrix m;
        FillBank(m, 3, "Cee", 10);
        m.set(6, 3, test::MakeRecord("Eff", 5, 2, 99));  // F holds one record where C is empty
        Matrix before = m;

        SwapBanks(m, 3, 6);

        for (int slot = 1; slot <= kSlots; ++slot) {
            QCOMPARE(m.isEmpty(6, slot), before.isEmpty(3, slot));
            QCOMPARE(m.isEmpty(3, slot), before.isEmpty(6, slot));
            if (!m.isEmpty(6, slot)) {
                QVERIFY(m.at(6, slot) == SetBankProgram(before.at(3, slot), 5, slot - 1));
                QCOMPARE(GetBankByte(m.at(6, slot)), 5);
            }
            if (!m.isEmpty(3, slot)) {
                QCOMPARE(GetBankByte(m.at(3, slot)), 2);
                QCOMPARE(GetProgramByte(m.at(3, slot)), slot - 1);
            }
            // The scratch bank ends holding the destination's former records.
            QVERIFY(m.at(Matrix::kScratchBank, slot) == before.at(6, slot));
        }
        QCOMPARE(GetPatchName(m.at(3, 3)), std::string("Eff"));
    }

    void swappingTwiceRestoresBothBanks() {
        Matrix m;
        FillBank(m, 1, "Alpha", 1);
        FillBank(m, 8, "Omega", 2);
        m.set(8, 3, test::MakeRecord("Gap", 7, 2, 3));
        const Matrix before = m;
        SwapBanks(m, 1, 8);
        SwapBanks(m, 1, 8);
        for (int bank : {1, 8})
            for (int slot = 1; slot <= kSlots; ++slot)
                QVERIFY(m.at(bank, slot) == before.at(bank, slot));
    }

    void sameBankBothSidesLeavesItAlone() {
        Matrix m;
        FillBank(m, 4, "Same", 7);
        const Matrix before = m;
        CopyBank(m, 4, 4);
        SwapBanks(m, 4, 4);
        for (int slot = 1; slot <= kSlots; ++slot)
            QVERIFY(m.at(4, slot) == before.at(4, slot));
    }
};

QTEST_APPLESS_MAIN(BankCopyTest)
#include "test_bankcopy.moc"
