#include <QtTest>

#include "model/PatchRecord.h"
#include "support/Records.h"

using namespace zanq;
using zanq::test::MakeRecord;
using zanq::test::WithNameWindow;

class RecordTest : public QObject {
    Q_OBJECT
private slots:
    void nameWindow_data() {
        QTest::addColumn<QByteArray>("window");
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("trailing NULs") << QByteArray("Bass 1") << QByteArray("Bass 1");
        QTest::newRow("inner NUL joins") << QByteArray("  Lead\0Pad", 10) << QByteArray("LeadPad");
        QTest::newRow("only blanks") << QByteArray("   \0\0  \0", 8) << QByteArray();
        QTest::newRow("inner spaces kept") << QByteArray("  Pad  2  ") << QByteArray("Pad  2");
        QTest::newRow("space after NUL trimmed") << QByteArray("Keys\0 ", 6) << QByteArray("Keys");
        QTest::newRow("full 17 bytes")
            << QByteArray("ABCDEFGHIJKLMNOPQ") << QByteArray("ABCDEFGHIJKLMNOPQ");
        QTest::newRow("high bytes kept")
            << QByteArray("Pad \xE9\xFF", 6) << QByteArray("Pad \xE9\xFF", 6);
    }
    void nameWindow() {
        QFETCH(QByteArray, window);
        QFETCH(QByteArray, name);
        QCOMPARE(QByteArray::fromStdString(GetPatchName(WithNameWindow(window.toStdString()))),
                 name);
    }

    void nameOfShortStrings() {
        QCOMPARE(GetPatchName(""), std::string());
        QCOMPARE(GetPatchName(std::string(265, 'x')), std::string());
        std::string shortTail(270, '\0');
        shortTail.replace(265, 5, "Hi  x");
        QCOMPARE(GetPatchName(shortTail), std::string("Hi  x"));
    }

    void retargetTouchesBytes9And10Only() {
        const PatchRecord original = MakeRecord("Warm Pad", 0, 5, 3);
        const PatchRecord moved = SetBankProgram(original, 3, 127);
        QCOMPARE(moved.size(), kRecordLength);
        QCOMPARE(GetBankByte(moved), 3);
        QCOMPARE(GetProgramByte(moved), 127);
        QCOMPARE(static_cast<unsigned char>(moved.back()), 0xF7);
        for (std::size_t i = 0; i < kRecordLength; ++i) {
            if (i == 8 || i == 9)
                continue;
            QCOMPARE(moved[i], original[i]);
        }
        QCOMPARE(SetBankProgram("", 4, 9), std::string());
    }

    void recordTests() {
        QVERIFY(IsValidRecord(MakeRecord("A", 7, 127)));
        PatchRecord notF0 = MakeRecord("A", 1, 1);
        notF0[0] = 0x12;
        QVERIFY(IsValidRecord(notF0));
        QVERIFY(!IsValidRecord(MakeRecord("A", 8, 0)));
        QVERIFY(!IsValidRecord(MakeRecord("A", 0, 128)));
        QVERIFY(!IsValidRecord(MakeRecord("A", 0, 0).substr(1)));
        QVERIFY(!IsValidRecord(MakeRecord("A", 0, 0) + '\xF7'));
        QVERIFY(!IsValidRecord(""));
    }

    void placesAndLetters() {
        QCOMPARE(BankLetter(1), std::string("A"));
        QCOMPARE(BankLetter(8), std::string("H"));
        QCOMPARE(FormatProgram(1), std::string("001"));
        QCOMPARE(FormatProgram(128), std::string("128"));
        QCOMPARE(MatrixPlace(3, 7), std::string("Bank C-007"));
    }
};

QTEST_APPLESS_MAIN(RecordTest)
#include "test_record.moc"
