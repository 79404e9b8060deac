#include <QTemporaryDir>
#include <QtTest>
#include <random>

#include "support/Records.h"
#include "sysexfiles/SysexLoader.h"
#include "sysexfiles/SysexSaver.h"

using namespace zanq;
using test::MakeRecord;

class SysexCoreTest : public QObject {
    Q_OBJECT
private slots:
    void splitCountsEveryF7() {
        QVERIFY(SplitAtF7("").empty());
        QCOMPARE(SplitAtF7("abc").size(), std::size_t(1));
        QCOMPARE(SplitAtF7("a\xF7\xF7\x62\xF7"), (std::vector<std::string>{"a", "", "b", ""}));
        // Far beyond what a 16-bit counter holds.
        const std::string f7s(40000, '\xF7');
        QCOMPARE(ParseSysexPieces(f7s).size(), std::size_t(40001));
        QVERIFY(ExtractRecords(f7s).empty());
    }

    void recordsOfOddFiles() {
        const PatchRecord a = MakeRecord("Alpha", 0, 0, 1), b = MakeRecord("Beta", 3, 9, 2);
        const auto Strip = [](const PatchRecord& r) { return r.substr(0, kRecordLength - 1); };
        QCOMPARE(ExtractRecords(a), std::vector<PatchRecord>{a});
        // The final F7 missing after a complete stretch still gives the record.
        QCOMPARE(ExtractRecords(a + Strip(b)), (std::vector<PatchRecord>{a, b}));
        // A stray byte costs only the message it lengthens.
        QCOMPARE(ExtractRecords(a + "\x42" + b + a), (std::vector<PatchRecord>{a, a}));
        // Out of range bank or program bytes, other SysEx lengths.
        PatchRecord badBank = a, badProgram = a;
        badBank[8] = 8;
        badProgram[9] = static_cast<char>(0x80);
        const std::string request("\xF0\x00\x20\x32\x20\x00\x01\x00\x00\xF7", 10);
        QCOMPARE(ExtractRecords(badBank + request + badProgram + b), std::vector<PatchRecord>{b});
        QCOMPARE(ValidatePiece(Strip(b)), b);
        QVERIFY(ValidatePiece(Strip(badBank)).empty());
    }

    void randomBytesNeverBreakTheTests() {
        std::mt19937 random(7);
        std::string noise(5 * 1024 * 1024, '\0');
        for (char& c : noise)
            c = static_cast<char>(random() & 0xFF);
        const PatchRecord planted = MakeRecord("Planted", 5, 77);
        noise.insert(1000, planted);
        noise[999] = '\xF7';
        const auto records = ExtractRecords(noise);
        QVERIFY(std::find(records.begin(), records.end(), planted) != records.end());
        for (const auto& r : records)
            QVERIFY(IsValidRecord(r));
    }

    void applyingToTheStores() {
        test::TestLibrarian t;
        const PatchRecord first = MakeRecord("Dup", 1, 4, 1), later = MakeRecord("Dup", 1, 4, 2);
        const PatchRecord blank = MakeRecord("", 2, 0), other = MakeRecord("Other", 7, 127);
        const LoadCounts counts =
            t.librarian.apply(ExtractRecords(first + later + blank + other), LoadTarget::Both);
        QCOMPARE(t.librarian.at(test::At("B-5")), later);  // later wins in the Matrix
        QCOMPARE(t.librarian.at(test::At("C-1")), blank);
        // The first of a name wins in the Library, and a blank name never enters it.
        QCOMPARE(LibraryContent(t.librarian.library()), first + other);
        QCOMPARE(counts.placedInMatrix, std::size_t(4));
        QCOMPARE(counts.addedToLibrary, std::size_t(2));
    }

    void saveNamesAndChoices() {
        QCOMPARE(PresetSaveName(QDateTime(QDate(1999, 12, 31), QTime(23, 59))),
                 QStringLiteral("1999-12-31 2359"));
        QCOMPARE(BankFileName("x.syx", 3), QStringLiteral("x.syx - BANK_C.syx"));
        const DeepMindDialect dialect;
        Matrix matrix;
        const Library library(dialect);
        const auto files = [&](int option, const QString& name) {
            QStringList paths;
            for (const auto& f : FilesToSave(option, "/f", name, matrix, library))
                paths << f.path;
            return paths;
        };
        QCOMPARE(files(kSaveAllBanks, ""), QStringList{"/f/ALL - .syx"});
        QCOMPARE(files(kSaveLibrary, " n "), QStringList{"/f/Patchlist -  n .syx"});

        QCOMPARE(SaveChoicesFor(matrix, 0).selected, kSaveNothing);
        QVERIFY(!SaveChoicesFor(matrix, 0).saveEnabled);
        matrix.set(test::At("C-1"), MakeRecord("C1", 2, 0));
        QCOMPARE(files(kSaveSeparateBanks, "n"), QStringList{"/f/n - BANK_C.syx"});
        SaveChoices bankC = SaveChoicesFor(matrix, 0);
        QCOMPARE(bankC.selected, 3);
        QVERIFY(bankC.enabled[kSaveSeparateBanks] && bankC.enabled[kSaveAllBanks]);
        QVERIFY(!bankC.enabled[1] && !bankC.enabled[kSaveLibrary] && bankC.saveEnabled);
        QCOMPARE(SaveChoicesFor(matrix, 1).selected, kSaveLibrary);
    }

    void saveContents() {
        const DeepMindDialect dialect;
        Matrix matrix;
        Library library(dialect);
        const PatchRecord s1 = MakeRecord("S1", 4, 0), s5 = MakeRecord("S5", 4, 4),
                          s128 = MakeRecord("S128", 4, 127), h = MakeRecord("H", 7, 0);
        for (const auto& r : {s128, s5, h, s1})
            matrix.set(dialect.slotOf(r), r);
        QCOMPARE(BankContent(matrix, 5), s1 + s5 + s128);  // 873 bytes
        QCOMPARE(AllBanksContent(matrix), s1 + s5 + s128 + h);
        // Library order is the order of adding, not the list's; deleted entries leave no trace.
        for (const auto& r : {MakeRecord("Zed", 0, 0), MakeRecord("Apple", 0, 1), s5})
            library.AddIfNew(r);
        library.RemoveFromLibrary("Apple");
        QCOMPARE(LibraryContent(library), MakeRecord("Zed", 0, 0) + s5);
    }

    void writingReplacesWholeOrNothing() {
        QTemporaryDir dir;
        const QString path = dir.filePath("bank.syx");
        const PatchRecord a = MakeRecord("A", 0, 0), b = MakeRecord("B", 0, 1);
        int records = 0;
        QCOMPARE(WriteSysexFile(path, a + b + a, [&] { ++records; }), QString());
        QCOMPARE(records, 3);
        QCOMPARE(WriteSysexFile(path, b), QString());
        QCOMPARE(ReadFileBytes(path).bytes, b);
        QVERIFY(!WriteSysexFile(dir.filePath("no/such/folder/x.syx"), a).isEmpty());
        // A "folder" that is a file: the earlier file stays as it was.
        QVERIFY(!WriteSysexFile(path + "/x.syx", a).isEmpty());
        QCOMPARE(ReadFileBytes(path).bytes, b);
    }
};

QTEST_GUILESS_MAIN(SysexCoreTest)
#include "test_sysexcore.moc"
