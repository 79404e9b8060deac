#include <QtTest>

#include "model/PatchRecord.h"
#include "support/Records.h"

using namespace zanq;
using zanq::test::MakeRecord;

class RecordTest : public QObject {
    Q_OBJECT
private slots:
    void patchName_data() {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QByteArray>("name");
        const auto window = [](const QByteArray& bytes) {
            return QByteArray::fromStdString(test::WithNameWindow(bytes.toStdString()));
        };
        QTest::newRow("trailing NULs") << window("Bass 1") << QByteArray("Bass 1");
        QTest::newRow("inner NUL joins") << window({"  Lead\0Pad", 10}) << QByteArray("LeadPad");
        QTest::newRow("only blanks") << window({"   \0\0  \0", 8}) << QByteArray();
        QTest::newRow("inner spaces kept") << window("  Pad  2  ") << QByteArray("Pad  2");
        QTest::newRow("space after NUL trimmed") << window({"Keys\0 ", 6}) << QByteArray("Keys");
        QTest::newRow("full 17 bytes")
            << window("ABCDEFGHIJKLMNOPQ") << QByteArray("ABCDEFGHIJKLMNOPQ");
        QTest::newRow("high bytes kept")
            << window({"Pad \xE9\xFF", 6}) << QByteArray("Pad \xE9\xFF", 6);
        QTest::newRow("empty record") << QByteArray() << QByteArray();
        QTest::newRow("ends before the name") << QByteArray(265, 'x') << QByteArray();
        QTest::newRow("short name window")
            << QByteArray(265, '\0') + QByteArray("Hi  x") << QByteArray("Hi  x");
    }
    void patchName() {
        QFETCH(QByteArray, record);
        QFETCH(QByteArray, name);
        QCOMPARE(QByteArray::fromStdString(GetPatchName(record.toStdString())), name);
    }

    void retargetTouchesBytes9And10Only() {
        const PatchRecord original = MakeRecord("Warm Pad", 0, 5, 3);
        PatchRecord expected = original;
        expected[8] = 3;
        expected[9] = 127;
        QCOMPARE(SetBankProgram(original, 3, 127), expected);
        QCOMPARE(GetBankByte(expected), 3);
        QCOMPARE(GetProgramByte(expected), 127);
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
