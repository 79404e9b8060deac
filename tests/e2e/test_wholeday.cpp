// A user's whole day with the real program (as main() builds it) under its own X server, with
// real message boxes and MIDI ports against the simulated DeepMind; the steps run in order.

#include <QtTest>

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include "DayHarness.h"
#include "banktools/frmClear.h"
#include "banktools/frmSearch.h"
#include "banktools/frmSwap.h"
#include "shell/ProgramFolder.h"
#include "sysexfiles/frmSauver.h"

using namespace zanq;
using namespace zanq::test;

class WholeDayTest : public QObject, protected test::DayState {
    Q_OBJECT

private slots:
    void initTestCase() {
        qputenv("ZANQ_PROGRAM_FOLDER", folder.path().toLocal8Bit());
        qputenv("ZANQ_UPDATE_URL", "http://127.0.0.1:1/kelmo/zanq/version.txt");  // closed port
        std::string day, pads = Series("Pad ", 4, 20, 7000), leads = Series("Lead ", 6, 12, 8000);
        for (int b = 1; b <= 7; ++b)
            day += Series("Day " + BankLetter(b) + "-", b, b == 3 ? 120 : kSlots, b * 200);
        lead7 = leads.substr(6 * kRecordLength, kRecordLength);
        leads += pads.substr(4 * kRecordLength, kRecordLength);  // in the library by name: skipped
        WriteWholeFile(path(QStringLiteral("day all banks.syx")), QByteArray::fromStdString(day));
        WriteWholeFile(path(QStringLiteral("pads.syx")), QByteArray::fromStdString(pads));
        WriteWholeFile(path(QStringLiteral("leads.syx")), QByteArray::fromStdString(leads));

        const QString memory = path(QStringLiteral("synth memory.bin"));  // not a .syx: not listed
        withSynth =
            DeepMindSim::JackServerRunning() && sim.start({QStringLiteral("--save"), memory});
        if (!withSynth && qEnvironmentVariableIsSet("ZANQ_REQUIRE_JACK"))
            QFAIL("no simulated DeepMind on a JACK server, and ZANQ_REQUIRE_JACK asks for one");
        if (!withSynth)
            qWarning("no JACK server: the MIDI steps are skipped (test.sh starts one)");

        LibrarianApp::SetUpApplication(*qApp);
        app = std::make_unique<LibrarianApp>(DefaultProgramFolder(), "ZANQ Day");
        ui = std::make_unique<MainUi>(window());
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
    }

    // A box nobody expected fails the step that showed it; a step that failed half-way leaves
    // no window open over the next one.
    void cleanup() {
        while (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
            QCoreApplication::sendPostedEvents();
        }
        const QStringList unexpected = std::exchange(boxes.unexpected, {});
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(QLatin1Char('|'))));
    }

    void startsInTheProgramFolder() {
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("zanq-librarian"));
        QVERIFY(shows(0, 0, {}));
        // Detection runs off the window's thread: the panel says so once it has.
        QTRY_COMPARE(ui->StatusPanel[2]->text(),
                     withSynth ? QStringLiteral("DEEPMIND DETECTED") : "DEEPMIND NOT DETECTED");
        QTRY_COMPARE(ui->cmdMIDI_IN->isEnabled(), withSynth);
        QCOMPARE(QDir(files().folder()), QDir(folder.path()));
        QCOMPARE(ListedFiles(files()),
                 QStringLiteral("day all banks.syx|leads.syx|pads.syx").split('|'));
    }

    void loadsAllBanksIntoTheMatrixAndTwoFilesIntoTheLibrary() {
        QVERIFY(load(QStringLiteral("day all banks.syx"), ui->cmdLoadInMatrix));
        QVERIFY(shows(kDayPatches, 0,
                      {{1, 1, "Day A-001"},
                       {7, 128, "Day G-128"},
                       {3, 120, "Day C-120"},
                       {3, 121, ""},
                       {8, 1, ""}}));
        QVERIFY(!ui->ProgressBar1->isVisible());
        QVERIFY(load(QStringLiteral("pads.syx"), ui->cmdLoadPatchlist));
        QVERIFY(load(QStringLiteral("leads.syx"), ui->cmdLoadPatchlist));
        QVERIFY(shows(kDayPatches, 32, {}));  // the Matrix is untouched
        QCOMPARE(ui->List1->item(0)->text(), QStringLiteral("Lead 001"));  // sorted
    }

    void dragsALibraryPatchIntoBankC() {
        QListWidgetItem* line = ui->List1->lineNamed(QStringLiteral("Lead 007"));
        QVERIFY(line);
        ClickLine(ui->List1, line);
        // The drop reads the selected line; the grid's drop handler gets slot C-125.
        emit window().droppedOnGrid(DragSource::Library, At("C-125"));
        QVERIFY(shows(kDayPatches + 1, 32, {{3, 125, "Lead 007"}}));  // copied, not moved
        QCOMPARE(matrix().at(At("C-125")), Moved(lead7, At("C-125")));
        QVERIFY(boxes.shown.isEmpty());  // an empty slot asks nothing
    }

    void swapsBanksAAndB() {
        auto* swap = opens<frmSwap>(ui->cmdMatrixUtils);
        QVERIFY(swap);
        QTest::mouseClick(swap->cmdSwap, Qt::LeftButton);
        swap->close();
        QVERIFY(shows(kDayPatches + 1, 32, {{1, 1, "Day B-001"}, {2, 128, "Day A-128"}}));
        QCOMPARE(GetBankByte(matrix().at(At("A-1"))), 0);  // retargeted to where it now lives
        QCOMPARE(GetBankByte(matrix().at(At("B-1"))), 1);
    }

    void deletesOnePatch() {
        boxes.answer(QMessageBox::Yes);
        ClickCell(ui->FlexGrid1, At("D-10"));  // the press marks the drag's origin
        emit window().droppedOnDeleteZone(DragSource::Grid);
        QVERIFY2(boxes.shown.value(0).contains(QStringLiteral("Bank D-010: Day D-010")),
                 qPrintable(boxes.shown.join('|')));
        QVERIFY(shows(kDayPatches, 32, {{4, 10, ""}, {4, 11, "Day D-011"}}));
    }

    void searchesForAName() {
        auto* search = opens<frmSearch>(ui->cmdSearch);
        QVERIFY(search);
        QTest::keyClicks(search->txtSearch, QStringLiteral("lead 007"));
        QCOMPARE(search->lblResults->text(), QStringLiteral("Results (2)"));  // library, C-125
        search->lstResult->setCurrentIndex(search->lstResult->model()->index(0, 0));
        QCOMPARE(ui->List1->selectedName(), QStringLiteral("Lead 007"));
        search->close();
    }

    void savesAllBanksAndEachBank() {
        int preselected = -1;
        WhenModal<frmSauver>([&](frmSauver* save) {
            preselected = save->selectedOption();
            save->txtFilename->setText(QStringLiteral("day"));
            save->Option1[kSaveAllBanks]->click();
            save->cmdSauve->click();
            QTRY_VERIFY(save->cmdSauve->isEnabled());  // written
            save->Option1[kSaveSeparateBanks]->click();
            save->cmdSauve->click();
            QTRY_VERIFY(save->cmdSauve->isEnabled());
            save->close();
        });
        QTest::mouseClick(ui->cmdSauver, Qt::LeftButton);  // returns once it closes
        QCOMPARE(preselected, kSaveLibrary);               // the library is not empty
        QVERIFY(fileHolds(QStringLiteral("ALL - day.syx"), matrixBytes()));
        for (int b = 1; b <= 7; ++b)
            QVERIFY(fileHolds("day - BANK_" + QString::fromStdString(BankLetter(b)) + ".syx",
                              matrixBytes(b)));
        QVERIFY(!QFile::exists(path(QStringLiteral("day - BANK_H.syx"))));  // empty bank
        QCOMPARE(boxes.shown.size(), 1);
    }

    void clearsEverythingAndLoadsTheSavedFileBackByteForByte() {
        ui->mnuClear->trigger();
        auto* clear = ModalWindow<frmClear>();
        QVERIFY(clear);
        QTest::mouseClick(clear->cmdSelectAllDatas, Qt::LeftButton);
        boxes.answer(QMessageBox::Yes);
        QTest::mouseClick(clear->cmdClear, Qt::LeftButton);
        QCOMPARE(boxes.shown.last(), QStringLiteral("Do you want to delete the selected datas ?"));
        QVERIFY(shows(0, 0, {{1, 1, ""}, {3, 125, ""}}));
        QVERIFY(load(QStringLiteral("ALL - day.syx"), ui->cmdLoadInMatrix));  // files are not data
        QVERIFY(fileHolds(QStringLiteral("ALL - day.syx"), matrixBytes()));
        QVERIFY(shows(kDayPatches, 0, {{1, 1, "Day B-001"}, {3, 125, "Lead 007"}, {4, 10, ""}}));
    }

    void receivesBankBFromTheSynth() {
        if (!withSynth)
            QSKIP("no simulated DeepMind");
        auto* receive = opens<frmMidiReceive>(ui->cmdMIDI_IN);
        QVERIFY(receive && runs(receive, receive->cmdMidiReceive, {2}));
        QVERIFY(shows(kDayPatches, 0,
                      {{2, 1, "SIM B-001"}, {2, 128, "SIM B-128"}, {1, 1, "Day B-001"}}));
        QTRY_COMPARE(sim.lines().filter(QStringLiteral("request B-")).size(), kSlots);
        QVERIFY(matrixBytes(2) == sim.memory().mid(kSlots * kRecordLength, kSlots * kRecordLength));
        // The whole receive is one step to undo and redo.
        auto* undo = window().findChild<QAction*>(QStringLiteral("mnuUndo"));
        QCOMPARE(undo->text(), QStringLiteral("Undo Receive bank B"));
        undo->trigger();
        QVERIFY(shows(kDayPatches, 0, {{2, 1, "Day A-001"}, {2, 128, "Day A-128"}}));
        window().findChild<QAction*>(QStringLiteral("mnuRedo"))->trigger();
        QVERIFY(shows(kDayPatches, 0, {{2, 1, "SIM B-001"}, {2, 128, "SIM B-128"}}));
    }

    void sendsBanksAAndCToTheSynth() {
        if (!withSynth)
            QSKIP("no simulated DeepMind");
        // The synth's memory once A and C are sent: a gap in the Matrix is not sent, the synth
        // keeps its own program there, and the other banks stay.
        QByteArray expected = sim.memory();
        for (int b : {1, 3})
            for (int s = 1; s <= kSlots; ++s)
                if (!matrix().isEmpty(At(b, s)))
                    expected.replace(At(b, s).index() * kRecordLength, kRecordLength,
                                     Bytes(matrix().at(At(b, s))));
        auto* send = opens<frmBankSend>(ui->cmdMIDI_OUT);
        QVERIFY(send && runs(send, send->cmdMidiSend, {1, 3}));
        QTRY_COMPARE_WITH_TIMEOUT(sim.lines().filter(QStringLiteral("stored ")).size(),
                                  kSlots + 121, 20000);
        QVERIFY(sim.memory() == expected);
    }

    void exportsOnePatchToAnotherSlot() {
        const PatchRecord source = matrix().at(At("A-5"));
        DoubleClickCell(ui->FlexGrid1, At("A-5"));
        frmExport* exporter = FindExportWindow(window());
        QTRY_VERIFY(exporter->isVisible());
        QCOMPARE(exporter->txtName->text().trimmed(), QStringLiteral("Day B-005"));
        exporter->cmbBank->setCurrentIndex(5);    // F
        exporter->cmbPatch->setCurrentIndex(99);  // 100
        QTest::mouseClick(exporter->cmdSauver, Qt::LeftButton);
        QTRY_VERIFY(!exporter->isVisible());
        QVERIFY(
            fileHolds(QStringLiteral("Day B-005-F-100.syx"), Bytes(Moved(source, At("F-100")))));
        QCOMPARE(Bytes(matrix().at(At("A-5"))), Bytes(source));  // the Matrix keeps its own
    }

    void cleanupTestCase() {
        if (app) {
            window().close();  // the program's own shut-down: ports closed, nothing asked
            QVERIFY(!app->midi().requesting());
        }
        app.reset();
        sim.stop();
        QVERIFY2(boxes.unexpected.isEmpty(), qPrintable(boxes.unexpected.join(QLatin1Char('|'))));
    }
};

int main(int argc, char* argv[]) {
    test::VirtualDisplay display;
    if (!display.start()) {
        qCritical("Xvfb did not start");
        return 1;
    }
    QApplication app(argc, argv);
    WholeDayTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_wholeday.moc"
