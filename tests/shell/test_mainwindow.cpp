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
        QCOMPARE(w.windowTitle(), QStringLiteral("ZANQ LIBRARIAN"));
        // Buttons, labels and status panels alike show their caption as "text".
        const std::pair<const char*, const char*> captions[] = {
            {"cmdLoadInMatrix", "Load file in &Matrix"},
            {"cmdLoadPatchlist", "Load file in &Patch Library"},
            {"cmdLoadPatchListMatrix", "&Load file in Patch Library && Matrix"},
            {"cmdLoadAll", "Load &all files in Patchlist"},
            {"cmdSauver", "&Save sysex"},
            {"cmdMatrixUtils", "Banks &Utils"},
            {"cmdSearch", "S&earch"},
            {"cmdSize", "/"},
            {"Label1", "PATCH LIBRARY"},
            {"Label3", "Delete Zone"},
            {"lblSysexLib", "- SYSEX LIBRARIAN -"},
            {"lblversion", "---"},
            {"StatusBar1Panel2", "Patches in library : 0"},
            {"StatusBar1Panel3", "DEEPMIND NOT DETECTED"},
            {"StatusBar1Panel4", "v0.0.56"},
        };
        for (auto [name, caption] : captions) {
            auto* control = w.findChild<QWidget*>(name);
            QVERIFY2(control, name);
            QCOMPARE(control->property("text").toString(), QString::fromLatin1(caption));
        }
        for (const char* disabled :
             {"cmdLoadInMatrix", "cmdLoadPatchlist", "cmdLoadPatchListMatrix", "cmdLoadAll",
              "cmdMIDI_IN", "cmdMIDI_OUT"})
            QVERIFY2(!w.findChild<QPushButton*>(disabled)->isEnabled(), disabled);
        QVERIFY(w.cmdMatrixUtils->isEnabled());
        QCOMPARE(w.Image1->toolTip(), QStringLiteral("Drag & Drop Delete Area"));
        QVERIFY(w.ProgressBar1->isHidden());
        QVERIFY(w.cmdSize->isHidden());
        QVERIFY(!w.StatusPanel[0]->text().isEmpty());
        QCOMPARE(w.Timer1->interval(), 5000);
        QVERIFY(w.Timer1->isActive());

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
        auto* model = w.FlexGrid1->model();
        QCOMPARE(model->rowCount(), 128);
        QCOMPARE(model->columnCount(), 8);
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Bank A"));
        QCOMPARE(model->headerData(7, Qt::Horizontal).toString(), QStringLiteral("Bank H"));
        QCOMPARE(model->headerData(0, Qt::Vertical).toString(), QStringLiteral("1"));
        QCOMPARE(model->headerData(127, Qt::Vertical).toString(), QStringLiteral("128"));
        librarian.apply(test::MakeRecord("Warm Pad", 2, 6), LoadTarget::Matrix);
        QCOMPARE(model->index(6, 2).data().toString(), QStringLiteral("Warm Pad"));
        QCOMPARE(model->index(6, 2).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::AlignHCenter | Qt::AlignTop);
        QSignalSpy repaint(model, &QAbstractItemModel::dataChanged);
        librarian.clear({Bank::fromNumber(3)}, false);
        QCOMPARE(model->index(6, 2).data().toString(), QString());
        QCOMPARE(repaint.size(), 1);
        QCOMPARE(repaint[0][0].toModelIndex(), model->index(0, 2));
        QCOMPARE(repaint[0][1].toModelIndex(), model->index(127, 2));
    }

    void libraryListFollowsLibrary() {
        frmMain w(context);
        for (const char* name : {"pad", "Bass", "Arp", "Zap"})
            librarian.apply(test::MakeRecord(name, 0, 0), LoadTarget::Library);
        QStringList lines;
        for (int i = 0; i < w.List1->count(); ++i)
            lines << w.List1->item(i)->text();
        QCOMPARE(lines, (QStringList{"Arp", "Bass", "pad", "Zap"}));
        QCOMPARE(w.StatusPanel[1]->text(), QStringLiteral("Patches in library : 4"));
        w.List1->SelectLibraryEntry("Bass");
        QCOMPARE(w.List1->selectedName(), QStringLiteral("Bass"));
        librarian.deleteFromLibrary("Bass");
        QCOMPARE(w.List1->count(), 3);
        QCOMPARE(w.List1->selectedName(), QString());
        w.List1->SelectLibraryEntry("nothing");
        QCOMPARE(w.List1->currentRow(), -1);
        librarian.apply(test::MakeRecord("Bass", 0, 0), LoadTarget::Library);  // shows again
        QVERIFY(w.List1->lineNamed("Bass"));
        librarian.clear({}, true);
        QCOMPARE(w.List1->count(), 0);
        QCOMPARE(w.StatusPanel[1]->text(), QStringLiteral("Patches in library : 0"));
    }

    void resizeFollowsPlacementRules() {
        frmMain w(context);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const double dpi = w.logicalDpi();
        const auto& g = w.geometryTwips();
        const int sh = PixelsToTwips(w.centralWidget()->height() + w.StatusBar1->height(), dpi);
        QCOMPARE(w.cmdLoadAll->y(), TwipsToPixels(sh - 1000, dpi));

        const int gridBefore = g.at("FlexGrid1").width;
        w.resize(w.width() + TwipsToPixels(1600, dpi), w.height());
        QTRY_VERIFY(g.at("FlexGrid1").width != gridBefore);
        QCOMPARE(g.at("FlexGrid1").width, PixelsToTwips(w.centralWidget()->width(), dpi) - 6000);
        const auto fit = FitGridColumns(g.at("FlexGrid1").width);
        QCOMPARE(w.FlexGrid1->columnWidth(0), TwipsToPixels(fit->columnWidth, dpi));
        QCOMPARE(w.FlexGrid1->font().pointSize(), fit->fontPoints);
    }

    void timerAndQuitHooks() {
        frmMain w(context);
        int detections = 0;
        int shutdowns = 0;
        w.setDetectionHook([&] { ++detections; });
        w.setShutdownHook([&] { ++shutdowns; });
        w.Timer1->setInterval(5);
        QTRY_VERIFY(detections >= 2);
        w.show();
        w.mnuQuit->trigger();
        QCOMPARE(shutdowns, 1);
        QVERIFY(!w.isVisible());
        QVERIFY(!w.Timer1->isActive());
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_mainwindow.moc"
