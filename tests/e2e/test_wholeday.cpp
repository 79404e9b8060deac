// A user's whole day with the real program under its own X server: the program is built by
// LibrarianApp as main() builds it, with real message boxes and the real MIDI ports, against
// the simulated DeepMind on the JACK server that test.sh starts. The steps run in order on one
// program; each checks what the window shows and what is on disk.

#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QRadioButton>
#include <QTemporaryDir>
#include <memory>

#include "DayState.h"
#include "banktools/PatchSearch.h"
#include "banktools/frmClear.h"
#include "banktools/frmSearch.h"
#include "banktools/frmSwap.h"
#include "model/LibraryListWidget.h"
#include "shell/ClickableLabel.h"
#include "shell/LibrarianApp.h"
#include "shell/ProgramFolder.h"
#include "support/DeepMindSim.h"
#include "support/MainRig.h"  // the export and MIDI windows, real clicks on the grid
#include "support/MainUi.h"
#include "support/Records.h"
#include "sysexfiles/SysexFileCommands.h"
#include "sysexfiles/frmSauver.h"

using namespace zanq;
using zanq::test::At;
using zanq::test::kDayPatches;
using zanq::test::Retargeted;
using zanq::test::Series;

class WholeDayTest : public QObject, protected test::DayState {
    Q_OBJECT

private slots:
    void initTestCase() {
        qputenv("ZANQ_PROGRAM_FOLDER", folder.path().toLocal8Bit());
        qputenv("ZANQ_UPDATE_URL", "http://127.0.0.1:1/kelmo/zanq/version.txt");  // closed port
        QByteArray day, pads = Series("Pad ", 4, 20, 7000), leads = Series("Lead ", 6, 12, 8000);
        for (int b = 1; b <= 7; ++b)
            day += Series("Day " + BankLetter(b) + "-", b, b == 3 ? 120 : kSlots, b * 200);
        lead7 = leads.mid(6 * kRecordLength, kRecordLength).toStdString();
        leads += pads.mid(4 * kRecordLength, kRecordLength);  // in the library by name: skipped
        test::WriteWholeFile(path(QStringLiteral("day all banks.syx")), day);
        test::WriteWholeFile(path(QStringLiteral("pads.syx")), pads);
        test::WriteWholeFile(path(QStringLiteral("leads.syx")), leads);

        simMemory = path(QStringLiteral("synth memory.bin"));  // not a .syx: not listed
        withSynth = test::DeepMindSim::JackServerRunning() &&
                    sim.start({QStringLiteral("--save"), simMemory});
        if (!withSynth && qEnvironmentVariableIsSet("ZANQ_REQUIRE_JACK"))
            QFAIL("no simulated DeepMind on a JACK server, and ZANQ_REQUIRE_JACK asks for one");
        if (!withSynth)
            qWarning("no JACK server: the MIDI steps are skipped (test.sh starts one)");

        LibrarianApp::SetUpApplication(*qApp);
        app = std::make_unique<LibrarianApp>(DefaultProgramFolder(), "ZANQ Day");
        ui = std::make_unique<test::MainUi>(window());
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
    }

    // A box nobody expected fails the step that showed it; a step that failed half-way leaves
    // no window open over the next one.
    void cleanup() {
        while (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
            QCoreApplication::processEvents();
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
        QCOMPARE(listedFiles(), QStringLiteral("day all banks.syx|leads.syx|pads.syx").split('|'));
    }

    void loadsAllBanksIntoTheMatrix() {
        QVERIFY(selectFile(QStringLiteral("day all banks.syx")));
        QTest::mouseClick(ui->cmdLoadInMatrix, Qt::LeftButton);
        QVERIFY(shows(kDayPatches, 0,
                      {{1, 1, "Day A-001"},
                       {7, 128, "Day G-128"},
                       {3, 120, "Day C-120"},
                       {3, 121, ""},
                       {8, 1, ""}}));
        QVERIFY(!ui->ProgressBar1->isVisible());
    }

    void addsTwoFilesToTheLibrary() {
        for (const QString& name : {QStringLiteral("pads.syx"), QStringLiteral("leads.syx")}) {
            QVERIFY(selectFile(name));
            QTest::mouseClick(ui->cmdLoadPatchlist, Qt::LeftButton);
        }
        QVERIFY(shows(kDayPatches, 32, {}));  // the Matrix is untouched
        QCOMPARE(ui->List1->item(0)->text(), QStringLiteral("Lead 001"));  // sorted
    }

    void dragsALibraryPatchIntoBankC() {
        QListWidgetItem* line = ui->List1->lineNamed(QStringLiteral("Lead 007"));
        QVERIFY(line);
        ui->List1->scrollToItem(line);
        QTest::mouseClick(ui->List1->viewport(), Qt::LeftButton, {},
                          ui->List1->visualItemRect(line).center());
        // The drop reads the selected line; the grid's drop handler gets slot C-125.
        emit window().droppedOnGrid(DragSource::Library, At("C-125"));
        QVERIFY(shows(kDayPatches + 1, 32, {{3, 125, "Lead 007"}}));  // copied, not moved
        QCOMPARE(Bytes(matrix().at(At("C-125"))), Retargeted(lead7, 3, 125));
        QVERIFY(boxes.shown.isEmpty());  // an empty slot asks nothing
    }

    void swapsBanksAAndB() {
        QTest::mouseClick(ui->cmdMatrixUtils, Qt::LeftButton);
        auto* swap = test::ModalWindow<frmSwap>();
        QVERIFY(swap);
        QTest::mouseClick(swap->cmdSwap, Qt::LeftButton);
        swap->close();
        QVERIFY(shows(kDayPatches + 1, 32, {{1, 1, "Day B-001"}, {2, 128, "Day A-128"}}));
        QCOMPARE(GetBankByte(matrix().at(At("A-1"))), 0);  // retargeted to where it now lives
        QCOMPARE(GetBankByte(matrix().at(At("B-1"))), 1);
    }

    void deletesOnePatch() {
        boxes.answer(QMessageBox::Yes);
        ui->FlexGrid1->scrollTo(gridIndex(4, 10));
        const QPoint at = ui->FlexGrid1->visualRect(gridIndex(4, 10)).center();
        QTest::mouseClick(ui->FlexGrid1->viewport(), Qt::LeftButton, {}, at);
        // The press marked D-010 as the drag's origin.
        emit window().droppedOnDeleteZone(DragSource::Grid);
        QVERIFY2(boxes.shown.value(0).contains(QStringLiteral("Bank D-010: Day D-010")),
                 qPrintable(boxes.shown.join('|')));
        QVERIFY(shows(kDayPatches, 32, {{4, 10, ""}, {4, 11, "Day D-011"}}));
    }

    void searchesForAName() {
        QTest::mouseClick(ui->cmdSearch, Qt::LeftButton);
        auto* search = test::ModalWindow<frmSearch>();
        QVERIFY(search);
        QTest::keyClicks(search->txtSearch, QStringLiteral("lead 007"));
        QCOMPARE(search->lblResults->text(), QStringLiteral("Results (2)"));
        const QAbstractItemModel* hits = search->lstResult->model();
        QStringList lines;
        for (int row = 0; row < hits->rowCount(); ++row)
            lines << hits->index(row, 0).data().toString();
        QCOMPARE(lines, (QStringList{kLibraryLinePrefix + "Lead 007", "Mx C-125: Lead 007"}));
        search->lstResult->setCurrentIndex(hits->index(0, 0));
        QCOMPARE(ui->List1->selectedName(), QStringLiteral("Lead 007"));
        search->close();
    }

    void savesAllBanksAndEachBank() {
        int preselected = -1;
        test::WhenModal<frmSauver>([&](frmSauver* save) {
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

    void clearsEverything() {
        ui->mnuClear->trigger();
        auto* clear = test::ModalWindow<frmClear>();
        QVERIFY(clear);
        QTest::mouseClick(clear->cmdSelectAllDatas, Qt::LeftButton);
        boxes.answer(QMessageBox::Yes);
        QTest::mouseClick(clear->cmdClear, Qt::LeftButton);
        QCOMPARE(boxes.shown.last(), QStringLiteral("Do you want to delete the selected datas ?"));
        QVERIFY(shows(0, 0, {{1, 1, ""}, {3, 125, ""}}));
        QVERIFY(QFile::exists(path(QStringLiteral("ALL - day.syx"))));  // files are not data
    }

    void loadsTheSavedFileBackByteForByte() {
        QVERIFY(selectFile(QStringLiteral("ALL - day.syx")));
        QTest::mouseClick(ui->cmdLoadInMatrix, Qt::LeftButton);
        QVERIFY(fileHolds(QStringLiteral("ALL - day.syx"), matrixBytes()));
        QVERIFY(shows(kDayPatches, 0, {{1, 1, "Day B-001"}, {3, 125, "Lead 007"}, {4, 10, ""}}));
    }

    void receivesBankBFromTheSynth() {
        if (!withSynth)
            QSKIP("no simulated DeepMind");
        QTest::mouseClick(ui->cmdMIDI_IN, Qt::LeftButton);
        auto* receive = test::ModalWindow<frmMidiReceive>();
        QVERIFY(receive);
        receive->chkBank[2]->setChecked(true);
        QTest::mouseClick(receive->cmdMidiReceive, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(receive->cmdMidiReceive->isEnabled(), 20000);  // the whole run
        QCOMPARE(receive->cmdMidiReceive->text(), QStringLiteral("RECEIVE"));
        receive->close();
        QVERIFY(shows(kDayPatches, 0,
                      {{2, 1, "SIM B-001"}, {2, 128, "SIM B-128"}, {1, 1, "Day B-001"}}));
        QTRY_COMPARE(sim.lines().filter(QStringLiteral("request B-")).size(), kSlots);
        QVERIFY(matrixBytes(2) ==
                synthMemory().mid(kSlots * kRecordLength, kSlots * kRecordLength));
    }

    void sendsBanksAAndCToTheSynth() {
        if (!withSynth)
            QSKIP("no simulated DeepMind");
        // The synth's memory once A and C are sent: a gap in the Matrix is not sent, the synth
        // keeps its own program there, and the other banks stay.
        QByteArray expected = synthMemory();
        for (int b : {1, 3})
            for (int s = 1; s <= kSlots; ++s)
                if (!matrix().isEmpty(At(b, s)))
                    expected.replace(((b - 1) * kSlots + s - 1) * kRecordLength, kRecordLength,
                                     Bytes(matrix().at(At(b, s))));
        QTest::mouseClick(ui->cmdMIDI_OUT, Qt::LeftButton);
        auto* send = test::ModalWindow<frmBankSend>();
        QVERIFY(send);
        send->chkBank[1]->setChecked(true);
        send->chkBank[3]->setChecked(true);
        QTest::mouseClick(send->cmdMidiSend, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(send->cmdMidiSend->isEnabled(), 20000);
        send->close();
        QTRY_COMPARE_WITH_TIMEOUT(sim.lines().filter(QStringLiteral("stored ")).size(),
                                  kSlots + 121, 20000);
        QVERIFY(synthMemory() == expected);
    }

    void exportsOnePatchToAnotherSlot() {
        const PatchRecord source = matrix().at(At("A-5"));
        test::DoubleClickCell(ui->FlexGrid1, At("A-5"));
        frmExport* exporter = FindExportWindow(window());
        QTRY_VERIFY(exporter->isVisible());
        QCOMPARE(exporter->txtName->text().trimmed(), QStringLiteral("Day B-005"));
        exporter->cmbBank->setCurrentIndex(5);    // F
        exporter->cmbPatch->setCurrentIndex(99);  // 100
        QTest::mouseClick(exporter->cmdSauver, Qt::LeftButton);
        QTRY_VERIFY(!exporter->isVisible());
        QVERIFY(fileHolds(QStringLiteral("Day B-005-F-100.syx"), Retargeted(source, 6, 100)));
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
