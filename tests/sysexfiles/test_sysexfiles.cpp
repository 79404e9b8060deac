#include <QtTest>
#include <QtWidgets>

#include "model/LibraryListWidget.h"
#include "shell/ClickableLabel.h"
#include "shell/frmMain.h"
#include "support/MainUi.h"
#include "support/Records.h"
#include "support/ScriptedPrompter.h"
#include "sysexfiles/InstallSysexFiles.h"
#include "sysexfiles/SysexFileCommands.h"
#include "sysexfiles/SysexLoader.h"
#include "sysexfiles/frmSauver.h"

using namespace zanq;
using test::At;
using test::MakeRecord;

namespace {
// A main window with the file pane installed, browsing a fresh scratch folder.
struct Rig {
    QTemporaryDir dir;
    DeepMindDialect dialect;
    Librarian librarian{dialect};
    test::ScriptedPrompter prompter;
    AppContext context{librarian, prompter, dir.path()};
    frmMain window{context};
    SysexFileCommands* files = nullptr;

    Rig() {
        InstallSysexFiles(window, context);
        files = window.findChild<SysexFileCommands*>();
    }
    QString write(const QString& name, const std::string& bytes) {
        QFile file(dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes.data(), qint64(bytes.size()));
        return file.fileName();
    }
    void select(const QString& name) {
        files->RefreshFileList();
        for (int i = 0; i < files->fileCount(); ++i)
            if (files->fileNameAt(i) == name)
                files->selectFile(i);
    }
    QString buttons() const {
        QString s;
        for (QPushButton* b :
             {test::Ui(window).cmdLoadInMatrix, test::Ui(window).cmdLoadPatchlist,
              test::Ui(window).cmdLoadPatchListMatrix, test::Ui(window).cmdLoadAll})
            s += b->isEnabled() ? '1' : '0';
        return s;
    }
    QString count() const { return test::Ui(window).StatusPanel[1]->text(); }
};

// Runs a check whenever the watched widget is shown.
struct OnShow : QObject {
    std::function<void()> check;
    OnShow(QWidget* widget, std::function<void()> c) : check(std::move(c)) {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            check();
        return false;
    }
};

std::string BankOf(const std::string& prefix, int bank, int n, int seed = 0) {
    std::string bytes;
    for (int p = 0; p < n; ++p)
        bytes += MakeRecord(prefix + std::to_string(p), bank, p, seed);
    return bytes;
}
}  // namespace

class SysexFilesTest : public QObject {
    Q_OBJECT
private slots:
    void browserListsSyxFilesAndGuardsTheLoadButtons() {
        Rig rig;
        QCOMPARE(rig.files->folder(), QDir::cleanPath(rig.dir.path()));
        QCOMPARE(rig.buttons(), QStringLiteral("0000"));
        for (const char* name : {"b.SYX", "a.syx", "c.Syx", "notes.txt", "d.syx.bak"})
            rig.write(name, "x");
        QDir(rig.dir.path()).mkdir("folder.syx");
        rig.files->RefreshFileList();
        QCOMPARE(rig.files->fileCount(), 3);
        QCOMPARE(rig.files->fileNameAt(0), QStringLiteral("a.syx"));
        QCOMPARE(rig.buttons(), QStringLiteral("0001"));
        QVERIFY(!rig.files->hasSelectedFile());

        const QRect line = test::Ui(rig.window)
                               .File1->visualRect(test::Ui(rig.window).File1->model()->index(2, 0));
        QTest::mouseClick(test::Ui(rig.window).File1->viewport(), Qt::LeftButton, {},
                          line.center());
        QCOMPARE(rig.buttons(), QStringLiteral("1111"));
        QCOMPARE(rig.files->selectedFilePath(), rig.dir.filePath("c.Syx"));

        QFile::remove(rig.dir.filePath("c.Syx"));
        rig.files->RefreshFileList();
        QCOMPARE(rig.buttons(), QStringLiteral("0001"));
        QCOMPARE(rig.files->selectedFilePath(), QString());
    }

    void singleFileCommands() {
        Rig rig;
        const std::string all = BankOf("A", 0, 128) + BankOf("B", 1, 128) + BankOf("C", 2, 128) +
                                BankOf("D", 3, 128) + BankOf("A", 4, 128, 9) + BankOf("F", 5, 128) +
                                BankOf("G", 6, 128) + BankOf("H", 7, 128);
        rig.write("all.syx", all);
        rig.select("all.syx");

        // What the window looks like when the progress bar appears.
        bool listHidden = false, barShown = false, fileListDisabled = false, busy = false;
        rig.window.show();
        OnShow probe(test::Ui(rig.window).ProgressBar1, [&] {
            barShown = true;
            listHidden = test::Ui(rig.window).List1->isHidden();
            fileListDisabled = !test::Ui(rig.window).File1->isEnabled();
            busy = QApplication::overrideCursor() != nullptr;
        });
        test::Ui(rig.window).cmdLoadInMatrix->click();
        QVERIFY(!listHidden && barShown && fileListDisabled && busy);
        QCOMPARE(rig.librarian.matrix().CountMatrixPatches(), 1024);
        QCOMPARE(rig.librarian.library().patchCount(), std::size_t(0));
        QCOMPARE(GetPatchName(rig.librarian.at(At("E-1"))), std::string("A0"));
        QVERIFY(test::Ui(rig.window).File1->isEnabled() &&
                test::Ui(rig.window).ProgressBar1->isHidden());
        QVERIFY(!QApplication::overrideCursor());

        listHidden = false;
        test::Ui(rig.window).cmdLoadPatchlist->click();
        QVERIFY(listHidden && !test::Ui(rig.window).List1->isHidden());
        // Bank E repeats bank A's names: one line per distinct name.
        QCOMPARE(test::Ui(rig.window).List1->count(), 7 * 128);
        QCOMPARE(rig.count(), QStringLiteral("Patches in library : 896"));
        test::Ui(rig.window).cmdLoadPatchlist->click();
        QCOMPARE(rig.count(), QStringLiteral("Patches in library : 896"));
        QVERIFY(rig.prompter.shown.isEmpty());

        // A double click loads into both; a blank name stays out of the Library.
        const PatchRecord pad = MakeRecord("Pad", 2, 6), blank = MakeRecord("", 0, 0);
        rig.write("one.syx", pad + blank);
        rig.files->RefreshFileList();
        const QRect line = test::Ui(rig.window)
                               .File1->visualRect(test::Ui(rig.window).File1->model()->index(1, 0));
        QTest::mouseClick(test::Ui(rig.window).File1->viewport(), Qt::LeftButton, {},
                          line.center());
        QTest::mouseDClick(test::Ui(rig.window).File1->viewport(), Qt::LeftButton, {},
                           line.center());
        QVERIFY(rig.librarian.at(At("C-7")) == pad && rig.librarian.at(At("A-1")) == blank);
        QCOMPARE(test::Ui(rig.window).List1->count(), 7 * 128 + 1);
    }

    void loadAllCarriesOnPastABadFile() {
        Rig rig;
        rig.write("1.syx", BankOf("X", 0, 50) + BankOf("Y", 1, 10));
        rig.write("2.syx", BankOf("X", 2, 60));
        rig.write("3.syx", "\xF7\xF7 junk");
        rig.write("4.syx", BankOf("Z", 3, 5));
        rig.files->RefreshFileList();
        QFile::remove(rig.dir.filePath("3.syx"));  // vanished after it was listed
        bool browserLocked = true;
        int bars = 0;
        rig.window.show();
        OnShow probe(test::Ui(rig.window).ProgressBar1, [&] {
            ++bars;
            browserLocked &= !test::Ui(rig.window).Dir1->isEnabled() &&
                             !test::Ui(rig.window).Drive1->isEnabled() &&
                             !test::Ui(rig.window).File1->isEnabled();
        });
        test::Ui(rig.window).cmdLoadAll->click();
        QCOMPARE(bars, 3);
        QVERIFY(browserLocked && test::Ui(rig.window).Dir1->isEnabled() &&
                test::Ui(rig.window).File1->isEnabled());
        const auto stored = [&rig] {
            return std::pair(int(rig.librarian.library().patchCount()),
                             rig.librarian.matrix().CountMatrixPatches());
        };
        QCOMPARE(stored(), std::pair(60 + 10 + 5, 0));
        QCOMPARE(rig.prompter.shown.size(), 1);
        QVERIFY(rig.prompter.shown[0].text.contains("3.syx"));
        QCOMPARE(rig.files->selectedFileName(), QStringLiteral("4.syx"));

        // The selected file vanishes too: one message, the stores as they were.
        QFile::remove(rig.dir.filePath("4.syx"));
        test::Ui(rig.window).cmdLoadPatchListMatrix->click();
        QCOMPARE(rig.prompter.shown.size(), 2);
        QVERIFY(rig.prompter.shown[1].text.contains("4.syx"));
        QCOMPARE(stored(), std::pair(75, 0));
        QVERIFY(test::Ui(rig.window).File1->isEnabled() && !QApplication::overrideCursor());
    }

    void saveWindowOpensPrepared() {
        Rig rig;
        frmSauver* save = nullptr;
        QTimer::singleShot(0, [&] {
            save = rig.window.findChild<frmSauver*>();
            QVERIFY(save && save->isModal() && save->isVisible());
            save->close();
        });
        test::Ui(rig.window).mnuSave->trigger();
        QCOMPARE(save->windowTitle(), QStringLiteral("Save"));
        QVERIFY(!save->cmdSauve->isEnabled());
        QVERIFY(save->Option1[kSaveNothing]->isChecked() &&
                save->Option1[kSaveNothing]->isHidden());
        QCOMPARE(save->Option1[1]->text(), QStringLiteral(" A"));
        QVERIFY(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d{4}$")
                    .match(save->txtFilename->text())
                    .hasMatch());

        rig.librarian.apply(MakeRecord("C", 2, 0), LoadTarget::Matrix);
        QTimer::singleShot(0, [&] { save->close(); });
        test::Ui(rig.window).cmdSauver->click();
        QCOMPARE(save->selectedOption(), 3);
        QVERIFY(save->cmdSauve->isEnabled() && !save->Option1[1]->isEnabled());
    }

    void savedFilesLoadBackAndShowInTheList() {
        Rig rig;
        rig.write("src.syx", BankOf("A", 0, 3) + BankOf("C", 2, 128) + BankOf("H", 7, 1));
        rig.select("src.syx");
        test::Ui(rig.window).cmdLoadPatchListMatrix->click();
        frmSauver save(rig.window, rig.context, *rig.files);
        save.Prepare(QDateTime(QDate(2024, 5, 1), QTime(9, 30)));
        QCOMPARE(save.selectedOption(), kSaveLibrary);
        const Matrix before = rig.librarian.matrix();
        for (int option = 0; option <= kSaveAllBanks; ++option) {
            if (!save.Option1[static_cast<std::size_t>(option)]->isEnabled())
                continue;
            save.Option1[static_cast<std::size_t>(option)]->setChecked(true);
            save.cmdSauve->click();
        }
        QVERIFY(rig.prompter.shown.isEmpty());
        QStringList names;
        for (int i = 0; i < rig.files->fileCount(); ++i)
            names << rig.files->fileNameAt(i);
        QCOMPARE(names, (QStringList{"2024-05-01 0930 - BANK_A.syx", "2024-05-01 0930 - BANK_C.syx",
                                     "2024-05-01 0930 - BANK_H.syx", "ALL - 2024-05-01 0930.syx",
                                     "Patchlist - 2024-05-01 0930.syx", "src.syx"}));
        for (const QString& name : names.mid(0, 5)) {
            test::TestLibrarian fresh;
            fresh.librarian.apply(ExtractRecords(ReadFileBytes(rig.dir.filePath(name)).bytes),
                                  LoadTarget::Matrix);
            const bool whole = !name.contains("BANK_");
            for (int index = 0; index < Bank::kCount * Program::kCount; ++index) {
                const Slot slot = Slot::fromIndex(index);
                QCOMPARE(fresh.librarian.at(slot),
                         whole || name.contains(QStringLiteral("BANK_") +
                                                QChar::fromLatin1(slot.bank.letter()))
                             ? before.at(slot)
                             : PatchRecord());
            }
        }

        // A folder that cannot be written: one message naming the file, the stores unchanged.
        rig.context.programFolder = rig.write("plain-file", "x");
        save.Option1[kSaveSeparateBanks]->setChecked(true);
        save.cmdSauve->click();
        QCOMPARE(rig.prompter.shown.size(), 1);
        QVERIFY(rig.prompter.shown[0].text.contains("plain-file/2024-05-01 0930 - BANK_A.syx"));
        QCOMPARE(rig.librarian.matrix().CountMatrixPatches(), before.CountMatrixPatches());
    }
};

QTEST_MAIN(SysexFilesTest)
#include "test_sysexfiles.moc"
