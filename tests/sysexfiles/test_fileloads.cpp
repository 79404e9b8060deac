// The Load and Save commands in the window: what it shows while a load runs on the event loop,
// no load inside another, Load all over a folder where files vanish or turn into pipes, and the
// Save window's choices with the files they write read back.

#include "FilesRig.h"
#include "sysexfiles/frmSauver.h"

using namespace zanq;
using namespace zanq::test;

class FileLoadsTest : public QObject {
    Q_OBJECT
private slots:
    void singleFileLoadsRunOnTheEventLoop() {
        Rig rig;
        std::string big;  // names N0..N127 over and over, several slices long
        for (int i = 0; big.size() < 3 * SysexLoadRun::kSliceBytes; ++i)
            big += Series("N", i % 8, 128, i);
        rig.write("big.syx", big);
        rig.select("big.syx");
        // What the window looks like when the progress bar appears, and how far the bar moves.
        bool listHidden = false, fileListDisabled = false, busy = false;
        rig.window.show();
        OnShow probe(rig.ui.ProgressBar1, [&] {
            listHidden = rig.ui.List1->isHidden();
            fileListDisabled = !rig.ui.File1->isEnabled();
            busy = QApplication::overrideCursor() != nullptr;
        });
        QSet<int> steps;
        connect(rig.ui.ProgressBar1, &QProgressBar::valueChanged, [&](int v) { steps << v; });
        rig.ui.cmdLoadInMatrix->click();
        QVERIFY(rig.files()->isLoading());
        QCOMPARE(rig.buttons(), QStringLiteral("0000"));
        // Neither another Load command nor a dropped file starts a load inside this one.
        rig.files()->cmdLoadPatchlist_clicked();
        rig.files()->loadDroppedFiles({rig.dir.filePath("big.syx")}, true, true);
        rig.waitForLoad();
        QVERIFY(!listHidden && fileListDisabled && busy && steps.size() > 2);
        QCOMPARE(rig.librarian.matrix().CountMatrixPatches(), 1024);
        QCOMPARE(rig.librarian.library().patchCount(), std::size_t(0));
        QVERIFY(rig.ui.File1->isEnabled() && rig.ui.ProgressBar1->isHidden());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(rig.buttons(), QStringLiteral("1111"));

        for (int twice = 0; twice < 2; ++twice) {
            rig.ui.cmdLoadPatchlist->click();
            rig.waitForLoad();
            QVERIFY(listHidden && !rig.ui.List1->isHidden());
            QCOMPARE(rig.ui.StatusPanel[1]->text(), QStringLiteral("Patches in library : 128"));
        }
        QVERIFY(rig.prompter.shown.isEmpty());

        // A double click loads into both; a blank name stays out of the Library, a bad bank or
        // program byte out of both (only Pad is a new line).
        const PatchRecord pad = MakeRecord("Pad", 2, 6), blank = MakeRecord("", 0, 0);
        PatchRecord badBank = MakeRecord("BadBank", 0, 3), badProgram = MakeRecord("BadProg", 0, 4);
        badBank[8] = 8;
        badProgram[9] = static_cast<char>(0x80);
        rig.write("one.syx", pad + blank + badBank + badProgram);
        rig.files()->RefreshFileList();
        rig.click(1, true);
        rig.waitForLoad();
        QVERIFY(rig.librarian.at(At("C-7")) == pad && rig.librarian.at(At("A-1")) == blank);
        QCOMPARE(rig.ui.List1->count(), 128 + 1);
    }

    void loadAllCarriesOnPastAnUnreadableFile() {
        Rig rig;
        rig.write("1.syx", Series("X", 0, 50) + Series("Y", 1, 10));
        rig.write("2.syx", Series("X", 2, 60));
        rig.write("3.syx", "\xF7\xF7 junk");
        rig.write("4.syx", Series("Z", 3, 5));
        rig.write("5.syx", "");
        rig.files()->RefreshFileList();
        // After the listing, one file vanishes and one turns into a pipe nobody writes to.
        QFile::remove(rig.dir.filePath("3.syx"));
        QFile::remove(rig.dir.filePath("5.syx"));
        rig.pipe("5.syx");
        bool browserLocked = true;
        QStringList loading;  // the selected file whenever the bar appears
        rig.window.show();
        OnShow probe(rig.ui.ProgressBar1, [&] {
            loading << rig.files()->selectedFileName();
            browserLocked &= !rig.ui.Dir1->isEnabled() && !rig.ui.Drive1->isEnabled() &&
                             !rig.ui.File1->isEnabled() && rig.ui.List1->isHidden();
        });
        rig.ui.cmdLoadAll->click();
        rig.waitForLoad();
        QCOMPARE(loading, (QStringList{"1.syx", "2.syx", "4.syx"}));
        QVERIFY(browserLocked && rig.ui.Dir1->isEnabled() && rig.ui.File1->isEnabled());
        QVERIFY(!rig.ui.List1->isHidden());
        QCOMPARE(rig.librarian.library().patchCount(), std::size_t(60 + 10 + 5));
        QCOMPARE(rig.librarian.matrix().CountMatrixPatches(), 0);
        QCOMPARE(rig.prompter.shown.size(), 2);
        QVERIFY(rig.prompter.shown[0].text.contains("3.syx"));
        QVERIFY(rig.prompter.shown[1].text.contains("5.syx"));
        // The pipe left the list once the load had ended.
        QTRY_COMPARE(rig.listed(), (QStringList{"1.syx", "2.syx", "4.syx"}));
    }

    void saveWindowShowsTheNameItWrites() {
        Rig rig;
        frmSauver* save = nullptr;
        QTimer::singleShot(0, [&] {
            save = rig.window.findChild<frmSauver*>();
            QVERIFY(save && save->isModal() && save->isVisible());
            save->close();
        });
        rig.ui.mnuSave->trigger();
        QVERIFY(!save->cmdSauve->isEnabled());
        QVERIFY(save->Option1[kSaveNothing]->isChecked() &&
                save->Option1[kSaveNothing]->isHidden());
        QVERIFY(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d{4}$")
                    .match(save->txtFilename->text())
                    .hasMatch());

        rig.librarian.apply(MakeRecord("C", 2, 0), LoadTarget::Matrix);
        QTimer::singleShot(0, [&] { save->close(); });
        rig.ui.cmdSauver->click();
        QCOMPARE(save->selectedOption(), 3);
        QVERIFY(save->cmdSauve->isEnabled() && !save->Option1[1]->isEnabled());
        save->txtFilename->setText("../up");
        QCOMPARE(save->txtSavedAs->text(), QStringLiteral(".._up - BANK_C.syx"));
        QCOMPARE(save->txtFolder->text(), rig.dir.path());
        save->Option1[kSaveAllBanks]->setChecked(true);
        QCOMPARE(save->txtSavedAs->text(), QStringLiteral("ALL - .._up.syx"));
        save->cmdSauve->click();
        QVERIFY(!save->cmdSauve->isEnabled());
        QTRY_VERIFY(save->cmdSauve->isEnabled());
        QVERIFY(QFile::exists(rig.dir.filePath("ALL - .._up.syx")));
    }

    void savedFilesLoadBackAndShowInTheList() {
        Rig rig;
        rig.write("src.syx", Series("A", 0, 3) + Series("C", 2, 128) + Series("H", 7, 1));
        rig.select("src.syx");
        rig.ui.cmdLoadPatchListMatrix->click();
        rig.waitForLoad();
        frmSauver save(rig.window, rig.context, *rig.files());
        save.Prepare(QDateTime(QDate(2024, 5, 1), QTime(9, 30)));
        QCOMPARE(save.selectedOption(), kSaveLibrary);
        const Matrix before = rig.librarian.matrix();
        for (std::size_t option = 0; option <= kSaveAllBanks; ++option) {
            if (!save.Option1[option]->isEnabled())
                continue;
            save.Option1[option]->setChecked(true);
            save.cmdSauve->click();
            QTRY_VERIFY(save.cmdSauve->isEnabled());
        }
        QVERIFY(rig.prompter.shown.isEmpty());
        const QStringList names = rig.listed();
        QCOMPARE(names, (QStringList{"2024-05-01 0930 - BANK_A.syx", "2024-05-01 0930 - BANK_C.syx",
                                     "2024-05-01 0930 - BANK_H.syx", "ALL - 2024-05-01 0930.syx",
                                     "Patchlist - 2024-05-01 0930.syx", "src.syx"}));
        for (const QString& name : names.mid(0, 5)) {
            test::TestLibrarian fresh;
            fresh.librarian.loadFile(QFile::encodeName(rig.dir.filePath(name)), LoadTarget::Matrix);
            for (int i = 0; i < Bank::kCount * Program::kCount; ++i) {
                const Slot slot = Slot::fromIndex(i);
                const bool inFile =
                    !name.contains("BANK_") || name.contains(QString("BANK_") + slot.bank.letter());
                QCOMPARE(fresh.librarian.at(slot), inFile ? before.at(slot) : PatchRecord());
            }
        }

        // A folder that cannot be written: one message naming the file.
        rig.context.programFolder = rig.write("plain-file", "x");
        save.Option1[kSaveSeparateBanks]->setChecked(true);
        save.cmdSauve->click();
        QTRY_COMPARE(rig.prompter.shown.size(), 1);
        QVERIFY(rig.prompter.shown[0].text.contains("plain-file/2024-05-01 0930 - BANK_A.syx"));
    }
};

QTEST_MAIN(FileLoadsTest)
#include "test_fileloads.moc"
