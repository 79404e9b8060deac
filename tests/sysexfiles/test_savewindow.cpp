// The Save window: its choices, the names and folder it shows, and saved files read back.

#include "FilesRig.h"
#include "sysexfiles/frmSauver.h"

using namespace zanq;
using namespace zanq::test;

class SaveWindowTest : public QObject {
    Q_OBJECT
private slots:
    void saveWindowShowsTheNameItWrites() {
        Rig rig;
        frmSauver* save = nullptr;
        QTimer::singleShot(0, [&] {
            save = rig.window.findChild<frmSauver*>();
            QVERIFY(save && save->isModal() && save->isVisible());
            save->close();
        });
        rig.ui.mnuSave->trigger();
        QCOMPARE(save->windowTitle(), QStringLiteral("Save"));
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
        frmSauver save(rig.window, rig.context, *rig.files);
        save.Prepare(QDateTime(QDate(2024, 5, 1), QTime(9, 30)));
        QCOMPARE(save.selectedOption(), kSaveLibrary);
        const Matrix before = rig.matrix;
        for (int option = 0; option <= kSaveAllBanks; ++option) {
            if (!save.Option1[static_cast<std::size_t>(option)]->isEnabled())
                continue;
            save.Option1[static_cast<std::size_t>(option)]->setChecked(true);
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

QTEST_MAIN(SaveWindowTest)
#include "test_savewindow.moc"
