// The model without windows: slot names, what the DeepMind dialect reads from and writes into a
// record, and those rules of the Librarian that no window shows.

#include <QtTest>

#include "model/DeepMindDialect.h"
#include "support/Records.h"

using namespace zanq;
using test::At;
using test::MakeRecord;
using test::Moved;

class ModelTest : public QObject {
    Q_OBJECT
private slots:
    void slotNamesReadBackTheSame() {
        const Slot c7 = At(3, 7);
        QCOMPARE(c7.text(), std::string("C-007"));
        QCOMPARE(c7.place(), std::string("Bank C-007"));
        QVERIFY(Slot::parse("c-7") == c7 && Slot::parse("C-007") == c7);
        QCOMPARE(Slot::fromIndex(128).text(), std::string("B-001"));
        for (const char* bad :
             {"", "A", "A-", "A-0", "A-129", "I-001", "AB-1", "A001", "A-1x", "A--1", "A-0001"})
            QVERIFY2(!Slot::parse(bad), bad);
    }

    void patchName_data() {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QByteArray>("name");
        const auto window = [](const QByteArray& bytes) {
            return QByteArray::fromStdString(MakeRecord(bytes.toStdString(), 0, 0));
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

    // Only length and the place bytes make a record; the synth's ports go by name, in any case.
    void recordsAndPorts() {
        const DeepMindDialect dm;
        PatchRecord notF0 = MakeRecord("A", 7, 127);
        notF0[0] = 0x12;
        QVERIFY(dm.isValidRecord(notF0));
        for (const PatchRecord& bad : {MakeRecord("A", 0, 128), notF0.substr(1), notF0 + '\xF7'})
            QVERIFY(!dm.isValidRecord(bad));
        QVERIFY(dm.isSynthPort("DeepMind12:DeepMind12 MIDI 1 24:0") && dm.isSynthPort("DEEPMIND"));
        QVERIFY(!dm.isSynthPort("Deep Mind") && !dm.isSynthPort("Midi Through"));
    }

    // What the windows do not show: which record wins a slot, the counts, the exact name a copy
    // takes, and the hole a deleted library entry leaves.
    void librarianRules() {
        test::TestLibrarian t;
        Librarian& l = t.librarian;
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
        QCOMPARE(l.libraryPatch("First"), std::optional<PatchRecord>(file[0]));

        QVERIFY(l.copyFromLibrary("First", At("G-4")));
        QVERIFY(!l.copyFromLibrary("first", At("G-5")));
        QCOMPARE(l.at(At("G-4")), Moved(file[0], At("G-4")));

        l.apply(MakeRecord("Keys", 0, 2), LoadTarget::Library);
        QVERIFY(l.deleteFromLibrary("First"));
        QVERIFY(!l.deleteFromLibrary("First"));
        QCOMPARE(l.library().FindInLibrary("Keys"), std::size_t(3));
        QCOMPARE(l.apply(MakeRecord("First", 3, 3, 2), LoadTarget::Library).addedToLibrary,
                 std::size_t(1));
        QCOMPARE(l.library().FindInLibrary("First"), std::size_t(4));
    }
};

QTEST_GUILESS_MAIN(ModelTest)
#include "test_model.moc"
