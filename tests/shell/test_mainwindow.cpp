// The main window on its own: its state at start-up, the grid and library models under
// QAbstractItemModelTester, placement on resize, double clicks, detected ports and the timer.
// Each command's route is checked by the test of the window it opens.

#include <QAbstractItemModelTester>
#include <QtTest>

#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>

#include "model/LibraryListWidget.h"
#include "model/MatrixGridModel.h"
#include "shell/ClickableLabel.h"
#include "shell/frmMain.h"
#include "support/MainUi.h"
#include "support/Records.h"
#include "support/ScriptedPrompter.h"

using namespace zanq;

class MainWindowTest : public QObject {
    Q_OBJECT
    DeepMindDialect dialect;
    Librarian librarian{dialect};
    test::ScriptedPrompter prompter;
    AppContext context{librarian, prompter, QDir::tempPath()};

private slots:
    void startUpState() {
        frmMain w(context);
        const test::MainUi ui(w);
        QCOMPARE(w.windowTitle(), QStringLiteral("ZANQ LIBRARIAN"));
        // A literal ampersand survives as text; the status panels start with nothing found.
        QCOMPARE(ui.cmdLoadPatchListMatrix->text(),
                 QStringLiteral("&Load file in Patch Library && Matrix"));
        QCOMPARE(ui.StatusPanel[2]->text(), QStringLiteral("DEEPMIND NOT DETECTED"));
        // Nothing to load from and no synth yet.
        for (QPushButton* disabled :
             {ui.cmdLoadInMatrix, ui.cmdLoadPatchlist, ui.cmdLoadPatchListMatrix, ui.cmdLoadAll,
              ui.cmdMIDI_IN, ui.cmdMIDI_OUT})
            QVERIFY2(!disabled->isEnabled(), qPrintable(disabled->objectName()));
        QVERIFY(ui.cmdMatrixUtils->isEnabled());
        QVERIFY(ui.ProgressBar1->isHidden() && ui.cmdSize->isHidden());
        QCOMPARE(ui.Timer1->interval(), 5000);
        QVERIFY(ui.Timer1->isActive());

        QStringList menus;
        for (QAction* menu : w.menuBar()->actions()) {
            menus << menu->text();
            for (QAction* a : menu->menu()->actions())
                menus << (a->isSeparator() ? QStringLiteral("  ---") : "  " + a->text());
        }
        QCOMPARE(menus, (QStringList{"Files", "  Save sysex", "  ---", "  Quit", "Utils", "  Clear",
                                     "?", "  About"}));
    }

    void gridHeadersAndCells() {
        frmMain w(context);
        auto* model = test::Ui(w).FlexGrid1->model();
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Bank A"));
        QCOMPARE(model->headerData(7, Qt::Horizontal).toString(), QStringLiteral("Bank H"));
        QCOMPARE(model->headerData(0, Qt::Vertical).toString(), QStringLiteral("1"));
        QCOMPARE(model->headerData(127, Qt::Vertical).toString(), QStringLiteral("128"));
        librarian.apply(test::MakeRecord("Warm Pad", 2, 6), LoadTarget::Matrix);
        QCOMPARE(model->index(6, 2).data().toString(), QStringLiteral("Warm Pad"));
        QAbstractItemModelTester tester(model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy repaint(model, &QAbstractItemModel::dataChanged);
        librarian.clear({Bank::fromNumber(3)}, false);
        QCOMPARE(model->index(6, 2).data().toString(), QString());
        QCOMPARE(repaint.size(), 1);  // one repaint for the whole bank
    }

    void libraryListFollowsLibrary() {
        frmMain w(context);
        const test::MainUi ui(w);
        QAbstractItemModelTester tester(ui.List1->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (const char* name : {"pad", "Bass", "Arp", "Zap"})
            librarian.apply(test::MakeRecord(name, 0, 0), LoadTarget::Library);
        QCOMPARE(ui.libraryLines(), (QStringList{"Arp", "Bass", "pad", "Zap"}));
        ui.List1->SelectLibraryEntry("Bass");
        QCOMPARE(ui.List1->selectedName(), QStringLiteral("Bass"));
        librarian.deleteFromLibrary("Bass");
        QCOMPARE(ui.List1->count(), 3);
        QCOMPARE(ui.List1->selectedName(), QString());
        ui.List1->SelectLibraryEntry("nothing");
        QCOMPARE(ui.List1->currentRow(), -1);
        librarian.apply(test::MakeRecord("Bass", 0, 0), LoadTarget::Library);  // shows again
        QVERIFY(ui.List1->lineNamed("Bass"));
        librarian.clear({}, true);
        QCOMPARE(ui.List1->count(), 0);
        QCOMPARE(ui.StatusPanel[1]->text(), QStringLiteral("Patches in library : 0"));
    }

    void resizeFollowsPlacementRules() {
        frmMain w(context);
        const test::MainUi ui(w);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const double dpi = w.logicalDpi();
        const auto& g = w.geometryTwips();
        const int sh = PixelsToTwips(w.centralWidget()->height() + ui.StatusBar1->height(), dpi);
        QCOMPARE(ui.cmdLoadAll->y(), TwipsToPixels(sh - 1000, dpi));

        const int gridBefore = g.at("FlexGrid1").width;
        w.resize(w.width() + TwipsToPixels(1600, dpi), w.height());
        QTRY_VERIFY(g.at("FlexGrid1").width != gridBefore);
        QCOMPARE(g.at("FlexGrid1").width, PixelsToTwips(w.centralWidget()->width(), dpi) - 6000);
        const auto fit = FitGridColumns(g.at("FlexGrid1").width);
        QCOMPARE(ui.FlexGrid1->columnWidth(0), TwipsToPixels(fit->columnWidth, dpi));
        QCOMPARE(ui.FlexGrid1->font().pointSize(), fit->fontPoints);
    }

    void doubleClicksAndPortsAndTicks() {
        frmMain w(context);
        const test::MainUi ui(w);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        librarian.apply(test::MakeRecord("Pad", 1, 2), LoadTarget::Both);
        QSignalSpy filled(&w, &frmMain::filledSlotDoubleClicked);
        QSignalSpy empty(&w, &frmMain::emptySlotDoubleClicked);
        QSignalSpy line(&w, &frmMain::libraryLineDoubleClicked);
        const auto doubleClick = [](QAbstractItemView* view, QRect at) {
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at.center());
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at.center());
        };
        for (const char* place : {"B-3", "B-4"}) {
            const QModelIndex cell = ui.gridModel->indexOf(test::At(place));
            ui.FlexGrid1->scrollTo(cell);
            doubleClick(ui.FlexGrid1, ui.FlexGrid1->visualRect(cell));
        }
        doubleClick(ui.List1, ui.List1->visualItemRect(ui.List1->item(0)));
        QCOMPARE(filled.size(), 1);
        QCOMPARE(filled[0][0].value<Slot>(), test::At("B-3"));
        QCOMPARE(empty.size(), 1);
        QCOMPARE(empty[0][0].value<Slot>(), test::At("B-4"));
        QCOMPARE(line.size(), 1);
        QCOMPARE(line[0][0].toString(), QStringLiteral("Pad"));

        QSignalSpy output(&w, &frmMain::synthOutputFoundChanged);
        w.showSynthPorts(true, false, "half");
        w.showSynthPorts(true, false, "half");
        QVERIFY(ui.cmdMIDI_OUT->isEnabled() && !ui.cmdMIDI_IN->isEnabled());
        QCOMPARE(ui.StatusPanel[2]->text(), QStringLiteral("half"));
        QCOMPARE(output.size(), 1);
        QVERIFY(w.synthOutputFound());

        QSignalSpy ticks(&w, &frmMain::ticked);
        QSignalSpy closing(&w, &frmMain::closing);
        ui.Timer1->setInterval(5);
        QVERIFY(ticks.wait());
        ui.mnuQuit->trigger();
        QCOMPARE(closing.size(), 1);
        QVERIFY(!w.isVisible());
        QVERIFY(!ui.Timer1->isActive());
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_mainwindow.moc"
