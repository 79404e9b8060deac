// A user's whole day with the real program under its own X server: the program is built by
// LibrarianApp as main() builds it, with real message boxes and the real MIDI ports, against
// the simulated DeepMind on the JACK server that test.sh starts. The steps run in order on one
// program; each checks what the window shows and what is on disk.

#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <memory>

#include "DayHarness.h"
#include "banktools/PatchSearch.h"
#include "banktools/frmClear.h"
#include "banktools/frmSearch.h"
#include "banktools/frmSwap.h"
#include "editing/DragSource.h"
#include "editing/EditingCommands.h"
#include "export/InstallExport.h"
#include "export/frmExport.h"
#include "midi/frmBankSend.h"
#include "midi/frmMidiReceive.h"
#include "model/LibraryListWidget.h"
#include "shell/ClickableLabel.h"
#include "shell/LibrarianApp.h"
#include "shell/ProgramFolder.h"
#include "shell/frmMain.h"
#include "support/DeepMindSim.h"
#include "support/GridClicks.h"
#include "support/Records.h"
#include "sysexfiles/SysexFileCommands.h"
#include "sysexfiles/frmSauver.h"

using namespace zanq;
using test::MakeRecord;

namespace {
// Bank C ends at slot 120 and bank H stays empty, so the day has gaps to keep.
int SlotsIn(int bank) {
    return bank == 3 ? 120 : bank == 8 ? 0 : kSlots;
}
std::string DayName(int bank, int slot) {
    return "Day " + BankLetter(bank) + "-" + FormatProgram(slot);
}
QByteArray Bytes(const std::string& s) {
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}
}  // namespace

class WholeDayTest : public QObject {
    Q_OBJECT
    QTemporaryDir folder;
    test::DeepMindSim sim;
    QString simMemory;
    bool withSynth = false;
    std::unique_ptr<LibrarianApp> app;
    test::MessageBoxAnswers boxes;
    PatchRecord lead7;

    frmMain& window() { return app->window(); }
    Matrix& matrix() { return app->stores().matrix; }
    SysexFileCommands& files() { return *window().findChild<SysexFileCommands*>(); }
    EditingCommands& editing() { return *window().findChild<EditingCommands*>(); }
    QString path(const QString& name) const { return QDir(folder.path()).filePath(name); }

    // What the grid shows in a cell.
    QString cell(int bank, int slot) {
        return window().FlexGrid1->model()->index(slot - 1, bank - 1).data().toString();
    }
    QString libraryPanel() { return window().StatusPanel[1]->text(); }
    QModelIndex gridIndex(int bank, int slot) {
        return window().FlexGrid1->model()->index(slot - 1, bank - 1);
    }
    QPoint cellCentre(int bank, int slot) {
        window().FlexGrid1->scrollTo(gridIndex(bank, slot));
        return window().FlexGrid1->visualRect(gridIndex(bank, slot)).center();
    }
    bool selectFile(const QString& name) {
        files().RefreshFileList();
        for (int row = 0; row < files().fileCount(); ++row)
            if (files().fileNameAt(row) == name) {
                files().selectFile(row);
                return true;
            }
        return false;
    }
    QStringList listedFiles() {
        QStringList names;
        for (int row = 0; row < files().fileCount(); ++row)
            names << files().fileNameAt(row);
        return names;
    }
    // The Matrix as the all-banks file holds it: banks A..H, slots in order, gaps skipped.
    QByteArray matrixBytes(int bank = 0) {
        QByteArray all;
        for (int b = 1; b <= kBanks; ++b)
            for (int s = 1; s <= kSlots; ++s)
                if ((bank == 0 || bank == b) && !matrix().isEmpty(b, s))
                    all += Bytes(matrix().at(b, s));
        return all;
    }
    // The simulator's memory, all 8 x 128 programs, as it writes it on request.
    QByteArray synthMemory() { return sim.save() ? test::ReadBytes(simMemory) : QByteArray(); }
    static QByteArray slotOf(const QByteArray& memory, int bank, int slot) {
        return memory.mid(((bank - 1) * kSlots + slot - 1) * kRecordLength, kRecordLength);
    }

private slots:
    void initTestCase() {
        qputenv("ZANQ_PROGRAM_FOLDER", folder.path().toLocal8Bit());
        qputenv("ZANQ_UPDATE_URL", "http://127.0.0.1:1/kelmo/zanq/version.txt");  // closed port
        std::vector<PatchRecord> day, pads, leads;
        for (int b = 1; b <= kBanks; ++b)
            for (int s = 1; s <= SlotsIn(b); ++s)
                day.push_back(MakeRecord(DayName(b, s), b - 1, s - 1, b * 200 + s));
        for (int i = 1; i <= 20; ++i)
            pads.push_back(MakeRecord("Pad " + FormatProgram(i), 3, i, 7000 + i));
        for (int i = 1; i <= 12; ++i)
            leads.push_back(MakeRecord("Lead " + FormatProgram(i), 5, i, 8000 + i));
        lead7 = leads[6];
        leads.push_back(pads[4]);  // already in the library by name: skipped
        test::WriteSyx(path(QStringLiteral("day all banks.syx")), day);
        test::WriteSyx(path(QStringLiteral("pads.syx")), pads);
        test::WriteSyx(path(QStringLiteral("leads.syx")), leads);

        simMemory = path(QStringLiteral("synth memory.bin"));  // not a .syx: not listed
        withSynth = test::DeepMindSim::JackServerRunning() &&
                    sim.start({QStringLiteral("--save"), simMemory});
        if (!withSynth)
            qWarning("no JACK server: the MIDI steps are skipped (test.sh starts one)");

        LibrarianApp::SetUpApplication(*qApp);
        app = std::make_unique<LibrarianApp>(DefaultProgramFolder(), "ZANQ Day");
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
    }

    // A step that failed half-way leaves no window open over the next one.
    void cleanup() {
        while (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
            QCoreApplication::processEvents();
        }
    }

    void startsInTheProgramFolder() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("zanq-librarian"));
        QCOMPARE(window().windowTitle(), QStringLiteral("ZANQ LIBRARIAN"));
        QCOMPARE(libraryPanel(), QStringLiteral("Patches in library : 0"));
        QCOMPARE(window().StatusPanel[2]->text(), withSynth
                                                      ? QStringLiteral("DEEPMIND DETECTED")
                                                      : QStringLiteral("DEEPMIND NOT DETECTED"));
        QCOMPARE(window().cmdMIDI_IN->isEnabled(), withSynth);
        QCOMPARE(window().StatusPanel[3]->text(), QStringLiteral("v0.0.56"));
        QCOMPARE(QDir(files().folder()), QDir(folder.path()));
        QCOMPARE(listedFiles(),
                 (QStringList{QStringLiteral("day all banks.syx"), QStringLiteral("leads.syx"),
                              QStringLiteral("pads.syx")}));
    }

    void loadsAllBanksIntoTheMatrix() {
        QVERIFY(selectFile(QStringLiteral("day all banks.syx")));
        QVERIFY(window().cmdLoadInMatrix->isEnabled());
        QTest::mouseClick(window().cmdLoadInMatrix, Qt::LeftButton);
        QCOMPARE(matrix().CountMatrixPatches(), 6 * kSlots + 120);
        QCOMPARE(cell(1, 1), QStringLiteral("Day A-001"));
        QCOMPARE(cell(7, 128), QStringLiteral("Day G-128"));
        QCOMPARE(cell(3, 120), QStringLiteral("Day C-120"));
        QCOMPARE(cell(3, 121), QString());
        QCOMPARE(cell(8, 1), QString());
        QCOMPARE(libraryPanel(), QStringLiteral("Patches in library : 0"));
        QVERIFY(!window().ProgressBar1->isVisible());
    }

    void addsTwoFilesToTheLibrary() {
        for (const QString& name : {QStringLiteral("pads.syx"), QStringLiteral("leads.syx")}) {
            QVERIFY(selectFile(name));
            QTest::mouseClick(window().cmdLoadPatchlist, Qt::LeftButton);
        }
        QCOMPARE(window().List1->count(), 32);
        QCOMPARE(libraryPanel(), QStringLiteral("Patches in library : 32"));
        QCOMPARE(window().List1->item(0)->text(), QStringLiteral("Lead 001"));  // sorted
        QVERIFY(window().List1->lineNamed(QStringLiteral("Pad 005")));
        QCOMPARE(matrix().CountMatrixPatches(), 6 * kSlots + 120);  // the Matrix is untouched
    }

    void dragsALibraryPatchIntoBankC() {
        QListWidgetItem* line = window().List1->lineNamed(QStringLiteral("Lead 007"));
        QVERIFY(line);
        window().List1->scrollToItem(line);
        QTest::mouseClick(window().List1->viewport(), Qt::LeftButton, {},
                          window().List1->visualItemRect(line).center());
        QCOMPARE(window().List1->selectedName(), QStringLiteral("Lead 007"));
        // The drop reads the selected line; the grid's drop handler gets row 125, column C.
        editing().FlexGrid1_dropped(kLibrarySource, 125, 3);
        QCOMPARE(cell(3, 125), QStringLiteral("Lead 007"));
        PatchRecord expected = lead7;
        expected[8] = 2;    // bank C
        expected[9] = 124;  // program 125
        QCOMPARE(Bytes(matrix().at(3, 125)), Bytes(expected));
        QCOMPARE(window().List1->count(), 32);  // copied, not moved
        QVERIFY(boxes.shown.isEmpty());         // an empty slot asks nothing
    }

    void swapsBanksAAndB() {
        QTest::mouseClick(window().cmdMatrixUtils, Qt::LeftButton);
        auto* swap = test::ModalWindow<frmSwap>();
        QVERIFY(swap);
        QCOMPARE(swap->cmdSwap->text(), QStringLiteral("Swap A and B"));
        QTest::mouseClick(swap->cmdSwap, Qt::LeftButton);
        swap->close();
        QCOMPARE(cell(1, 1), QStringLiteral("Day B-001"));
        QCOMPARE(cell(2, 128), QStringLiteral("Day A-128"));
        QCOMPARE(GetBankByte(matrix().at(1, 1)), 0);  // retargeted to where it now lives
        QCOMPARE(GetBankByte(matrix().at(2, 1)), 1);
        QTRY_VERIFY(!window().findChild<frmSwap*>());  // discarded on closing
    }

    void deletesOnePatch() {
        boxes.answer(QMessageBox::Yes);
        QTest::mousePress(window().FlexGrid1->viewport(), Qt::LeftButton, {}, cellCentre(4, 10));
        QTest::mouseRelease(window().FlexGrid1->viewport(), Qt::LeftButton, {}, cellCentre(4, 10));
        QCOMPARE(app->stores().DragCol, 4);  // the press marked the drag's origin
        QCOMPARE(app->stores().DragRow, 10);
        editing().Image1_dropped(kGridSource);
        QVERIFY(boxes.allAnswered());
        QVERIFY2(boxes.shown.last().contains(QStringLiteral("Bank D-010: Day D-010")),
                 qPrintable(boxes.shown.last()));
        QCOMPARE(cell(4, 10), QString());
        QCOMPARE(cell(4, 11), QStringLiteral("Day D-011"));
        QCOMPARE(matrix().CountMatrixPatches(), 6 * kSlots + 120);  // one in, one out
    }

    void searchesForAName() {
        QTest::mouseClick(window().cmdSearch, Qt::LeftButton);
        auto* search = test::ModalWindow<frmSearch>();
        QVERIFY(search);
        QTest::keyClicks(search->txtSearch, QStringLiteral("lead 007"));
        QCOMPARE(search->lblResults->text(), QStringLiteral("Results (2)"));  // library + C-125
        const QAbstractItemModel* hits = search->lstResult->model();
        QStringList lines;
        for (int row = 0; row < hits->rowCount(); ++row)
            lines << hits->index(row, 0).data().toString();
        QVERIFY2(lines.filter(QStringLiteral("C-125")).size() == 1, qPrintable(lines.join('|')));
        const int libraryRow = lines.indexOf(kLibraryLinePrefix + QStringLiteral("Lead 007"));
        QVERIFY(libraryRow >= 0);
        search->lstResult->setCurrentIndex(hits->index(libraryRow, 0));
        QCOMPARE(window().List1->selectedName(), QStringLiteral("Lead 007"));
        search->close();
    }

    void savesAllBanksAndEachBank() {
        int preselected = -1;
        test::WhenModal<frmSauver>([&](frmSauver* save) {
            preselected = save->selectedOption();
            save->txtFilename->setText(QStringLiteral("day"));
            save->Option1[kSaveAllBanks]->click();
            save->cmdSauve->click();
            save->Option1[kSaveSeparateBanks]->click();
            save->cmdSauve->click();
            save->close();
        });
        QTest::mouseClick(window().cmdSauver, Qt::LeftButton);  // returns once it closes
        QCOMPARE(preselected, kSaveLibrary);                    // the library is not empty
        const QByteArray all = test::ReadBytes(path(QStringLiteral("ALL - day.syx")));
        QCOMPARE(all.size(), qsizetype((6 * kSlots + 120) * kRecordLength));
        QVERIFY(all == matrixBytes());
        QByteArray banks;
        for (int b = 1; b <= 7; ++b) {
            const QString name = QStringLiteral("day - BANK_%1.syx").arg(QChar('A' + b - 1));
            const QByteArray bank = test::ReadBytes(path(name));
            QVERIFY2(bank == matrixBytes(b), qPrintable(name));
            QVERIFY2(listedFiles().contains(name), qPrintable(name));
            banks += bank;
        }
        QVERIFY(!QFile::exists(path(QStringLiteral("day - BANK_H.syx"))));  // empty bank
        QVERIFY(banks == all);
        QVERIFY(boxes.shown.size() == 1 && boxes.unexpected.isEmpty());
    }

    void clearsEverything() {
        window().mnuClear->trigger();
        auto* clear = test::ModalWindow<frmClear>();
        QVERIFY(clear);
        QTest::mouseClick(clear->cmdSelectAllDatas, Qt::LeftButton);
        boxes.answer(QMessageBox::Yes);
        QTest::mouseClick(clear->cmdClear, Qt::LeftButton);
        QCOMPARE(boxes.shown.last(), QStringLiteral("Do you want to delete the selected datas ?"));
        QCOMPARE(matrix().CountMatrixPatches(), 0);
        QCOMPARE(cell(1, 1), QString());
        QCOMPARE(cell(3, 125), QString());
        QCOMPARE(window().List1->count(), 0);
        QCOMPARE(libraryPanel(), QStringLiteral("Patches in library : 0"));
        QTRY_VERIFY(!window().findChild<frmClear*>());
        QVERIFY(QFile::exists(path(QStringLiteral("ALL - day.syx"))));  // files are not data
    }

    void loadsTheSavedFileBackByteForByte() {
        QVERIFY(selectFile(QStringLiteral("ALL - day.syx")));
        QTest::mouseClick(window().cmdLoadInMatrix, Qt::LeftButton);
        QVERIFY(matrixBytes() == test::ReadBytes(path(QStringLiteral("ALL - day.syx"))));
        QCOMPARE(cell(1, 1), QStringLiteral("Day B-001"));
        QCOMPARE(cell(3, 125), QStringLiteral("Lead 007"));
        QCOMPARE(cell(4, 10), QString());
        QCOMPARE(libraryPanel(), QStringLiteral("Patches in library : 0"));
    }

    void receivesBankBFromTheSynth() {
        if (!withSynth)
            QSKIP("no simulated DeepMind");
        QTest::mouseClick(window().cmdMIDI_IN, Qt::LeftButton);
        auto* receive = test::ModalWindow<frmMidiReceive>();
        QVERIFY(receive);
        receive->chkBank[2]->setChecked(true);
        QTest::mouseClick(receive->cmdMidiReceive, Qt::LeftButton);  // the whole run
        QCOMPARE(receive->cmdMidiReceive->text(), QStringLiteral("RECEIVE"));
        receive->close();
        QCOMPARE(cell(2, 1), QStringLiteral("SIM B-001"));
        QCOMPARE(cell(2, 128), QStringLiteral("SIM B-128"));
        QCOMPARE(cell(1, 1), QStringLiteral("Day B-001"));  // other banks stay
        QTRY_COMPARE(sim.lines().filter(QStringLiteral("request B-")).size(), kSlots);
        const QByteArray memory = synthMemory();
        QVERIFY(matrixBytes(2) == memory.mid(kSlots * kRecordLength, kSlots * kRecordLength));
        QVERIFY(boxes.unexpected.isEmpty());
    }

    void sendsBanksAAndCToTheSynth() {
        if (!withSynth)
            QSKIP("no simulated DeepMind");
        QTest::mouseClick(window().cmdMIDI_OUT, Qt::LeftButton);
        auto* send = test::ModalWindow<frmBankSend>();
        QVERIFY(send);
        send->chkBank[1]->setChecked(true);
        send->chkBank[3]->setChecked(true);
        QTest::mouseClick(send->cmdMidiSend, Qt::LeftButton);
        send->close();
        const int sent = matrix().CountBankPatches(1) + matrix().CountBankPatches(3);
        QCOMPARE(sent, kSlots + 121);
        QTRY_COMPARE_WITH_TIMEOUT(sim.lines().filter(QStringLiteral("stored ")).size(), sent,
                                  20000);
        const QByteArray memory = synthMemory();
        for (int b : {1, 3})
            for (int s = 1; s <= kSlots; ++s) {
                const QByteArray held = slotOf(memory, b, s);
                const QByteArray expected = matrix().isEmpty(b, s)
                                                ? QByteArray()  // the synth keeps its own
                                                : Bytes(matrix().at(b, s));
                if (expected.isEmpty())
                    QVERIFY(held.contains(Bytes("SIM " + BankLetter(b))));
                else
                    QVERIFY2(held == expected,
                             qPrintable(QString::fromStdString(MatrixPlace(b, s))));
            }
        QVERIFY(boxes.unexpected.isEmpty());
    }

    void exportsOnePatchToAnotherSlot() {
        test::DoubleClickCell(window().FlexGrid1, 1, 5);
        frmExport* exporter = FindExportWindow(window());
        QTRY_VERIFY(exporter->isVisible());
        QCOMPARE(exporter->txtName->text().trimmed(), QStringLiteral("Day B-005"));
        exporter->cmbBank->setCurrentIndex(5);    // F
        exporter->cmbPatch->setCurrentIndex(99);  // 100
        const QString file = exporter->ExportPath();
        QTest::mouseClick(exporter->cmdSauver, Qt::LeftButton);
        QTRY_VERIFY(!exporter->isVisible());
        PatchRecord expected = matrix().at(1, 5);
        expected[8] = 5;
        expected[9] = 99;
        QCOMPARE(QFileInfo(file).fileName(), QStringLiteral("Day B-005-F-100.syx"));
        QVERIFY(test::ReadBytes(file) == Bytes(expected));
        QVERIFY(listedFiles().contains(QFileInfo(file).fileName()));
        QCOMPARE(GetBankByte(matrix().at(1, 5)), 0);  // the Matrix keeps its own

        if (!withSynth)
            return;
        test::DoubleClickCell(window().FlexGrid1, 1, 5);
        QTRY_VERIFY(exporter->isVisible());
        QVERIFY(exporter->cmdSendToMidi->isEnabled());
        exporter->cmbBank->setCurrentIndex(7);  // H
        exporter->cmbPatch->setCurrentIndex(0);
        QTest::mouseClick(exporter->cmdSendToMidi, Qt::LeftButton);
        QTRY_VERIFY(!exporter->isVisible());
        QVERIFY(sim.waitForLine(QStringLiteral("stored H-001")));
        expected[8] = 7;
        expected[9] = 0;
        QVERIFY(slotOf(synthMemory(), 8, 1) == Bytes(expected));
        QVERIFY(boxes.unexpected.isEmpty());
    }

    void cleanupTestCase() {
        if (app) {
            window().close();  // the program's own shut-down: ports closed, nothing asked
            QCOMPARE(app->midi().MidiInIsOpen(), modMIDI::kClosed);
            QCOMPARE(app->midi().MidiOutIsOpen(), modMIDI::kClosed);
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
