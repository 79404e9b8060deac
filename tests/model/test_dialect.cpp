#include <QtTest>

#include "model/DeepMindDialect.h"
#include "model/Slot.h"
#include "support/Records.h"

using namespace zanq;
using zanq::test::MakeRecord;

class DialectTest : public QObject {
    Q_OBJECT
private slots:
    void slotNamesReadBackTheSame() {
        const Slot c7 = {Bank::fromNumber(3), Program::fromNumber(7)};
        QCOMPARE(c7.text(), std::string("C-007"));
        QCOMPARE(c7.place(), std::string("Bank C-007"));
        QCOMPARE(c7.bank.byte(), 2);
        QCOMPARE(c7.program.byte(), 6);
        QVERIFY(Slot::parse("C-007") == c7);
        QVERIFY(Slot::parse("c-7") == c7);
        QCOMPARE(Slot::parse("H-128")->text(), std::string("H-128"));
        QCOMPARE(Slot::parse("A-1")->index(), 0);
        QCOMPARE(Slot::fromIndex(1023).text(), std::string("H-128"));
        QCOMPARE(Slot::fromIndex(128).text(), std::string("B-001"));
        for (const char* bad : {"", "A", "A-", "A-0", "A-129", "I-001", "AB-1", "A001", "A-1x",
                                "A--1", "A-0001", "-1"})
            QVERIFY2(!Slot::parse(bad), bad);
        QCOMPARE(Bank::fromLetter("h")->number(), 8);
    }

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
        QCOMPARE(QByteArray::fromStdString(DeepMindDialect().patchName(record.toStdString())),
                 name);
    }

    void retargetTouchesBankAndProgramBytesOnly() {
        const DeepMindDialect dm;
        const PatchRecord original = MakeRecord("Warm Pad", 0, 5, 3);
        const PatchRecord moved = dm.retarget(original, test::At("D-128"));
        QCOMPARE(moved.size(), original.size());
        for (std::size_t i = 0; i < original.size(); ++i)
            if (i != 8 && i != 9)
                QVERIFY2(moved[i] == original[i], qPrintable(QString::number(i)));
        QVERIFY(dm.slotOf(moved) == test::At("D-128"));
        QVERIFY(dm.slotOf(original) == test::At("A-6"));
        QCOMPARE(dm.retarget("", test::At("E-10")), std::string());
    }

    void validityLooksAtLengthAndPlaceOnly() {
        const DeepMindDialect dm;
        QVERIFY(dm.isValidRecord(MakeRecord("A", 7, 127)));
        PatchRecord notF0 = MakeRecord("A", 1, 1);
        notF0[0] = 0x12;
        QVERIFY(dm.isValidRecord(notF0));
        QVERIFY(!dm.isValidRecord(MakeRecord("A", 8, 0)));
        QVERIFY(!dm.isValidRecord(MakeRecord("A", 0, 128)));
        QVERIFY(!dm.isValidRecord(MakeRecord("A", 0, 0).substr(1)));
        QVERIFY(!dm.isValidRecord(MakeRecord("A", 0, 0) + '\xF7'));
        QVERIFY(!dm.isValidRecord(""));
    }

    void requestAndPortRule() {
        const DeepMindDialect dm;
        QCOMPARE(QByteArray::fromStdString(dm.programDumpRequest(test::At("C-7"))).toHex(' '),
                 QByteArray("f0 00 20 32 20 00 01 02 06 f7"));
        QVERIFY(dm.isSynthPort("DeepMind12:DeepMind12 MIDI 1 24:0"));
        QVERIFY(dm.isSynthPort("DEEPMIND"));
        QVERIFY(!dm.isSynthPort("Deep Mind"));
        QVERIFY(!dm.isSynthPort("Midi Through"));
    }
};

QTEST_APPLESS_MAIN(DialectTest)
#include "test_dialect.moc"
