// The main window on a Linux desktop: start-up state, its models, placement rules, the place it
// reopens in, names in the design fonts' stand-ins, and Enter answering No where Yes destroys.

#include <QAbstractItemModelTester>
#include <QtTest>

#include <QSettings>

#include "shell/LibrarianApp.h"
#include "shell/MainLayout.h"
#include "shell/WindowGeometry.h"
#include "shell/frmMain.h"
#include "support/MainUi.h"
#include "support/Records.h"
#include "support/ScriptedPrompter.h"

using namespace zanq;

namespace {
// Room for text in a cell of `view` that is `width` pixels wide: the style's margin each side.
int TextRoom(const QWidget* view, int width) {
    return width -
           2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
}

// Answers the next message box with `key` and records its default button.
void PressOnNextBox(int key, QMessageBox::StandardButton* defaultButton) {
    QTimer::singleShot(10, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return PressOnNextBox(key, defaultButton);
        *defaultButton = box->standardButton(box->defaultButton());
        QTest::keyClick(box, static_cast<Qt::Key>(key));
    });
}

MainGeometry Placed(int sw, int sh) {
    MainGeometry g = MainDesignGeometry();
    ApplyPlacementRules(g, sw, sh);
    return g;
}
}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
    QTemporaryDir settings;
    test::TestLibrarian t;
    test::ScriptedPrompter prompter;
    AppContext context{t.librarian, prompter, QDir::tempPath()};

    std::unique_ptr<LibrarianApp> program() {
        auto app = std::make_unique<LibrarianApp>(settings.path(), "ZANQ desktop test");
        KeepMainWindowGeometry(app->window());
        return app;
    }

private slots:
    void initTestCase() {
        LibrarianApp::SetUpApplication(*qApp);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    }

    void placementRules() {
        const MainGeometry design = Placed(kMainDesignWidth, kMainDesignHeight);
        const std::tuple<const char*, int TwipRect::*, int> designed[] = {
            {"cmdLoadAll", &TwipRect::top, 9530},       {"cmdLoadInMatrix", &TwipRect::top, 8985},
            {"cmdLoadPatchlist", &TwipRect::top, 8440}, {"File1", &TwipRect::height, 4450},
            {"List1", &TwipRect::height, 9530},         {"FlexGrid1", &TwipRect::height, 8930},
            {"FlexGrid1", &TwipRect::width, 14010},     {"Image3", &TwipRect::left, 16135},
            {"ProgressBar1", &TwipRect::width, 3435},   {"Image2", &TwipRect::left, 16215}};
        for (const auto& [name, field, twips] : designed)
            QVERIFY2(design.at(name).*field == twips, name);
        QCOMPARE(FitGridColumns(14010)->columnWidth, 1613);
        QCOMPARE(FitGridColumns(14010)->fontPoints, 10);

        // Widening moves only the grid and the title.
        const MainGeometry wide = Placed(kMainDesignWidth + 1600, kMainDesignHeight);
        QCOMPARE(wide.at("FlexGrid1").width, 14010 + 1600);
        QCOMPARE(wide.at("Image3").left, design.at("Image3").left + 1600);
        for (const char* fixed : {"Drive1", "File1", "List1", "cmdMIDI_IN", "lblversion"})
            QCOMPARE(wide.at(fixed), design.at(fixed));
        // A width on a step keeps the smaller size; one twip more takes the next.
        QCOMPARE(FitGridColumns(2400 * 8 + 1100)->fontPoints, 14);
        QCOMPARE(FitGridColumns(2401 * 8 + 1100)->fontPoints, 16);
        QVERIFY(!FitGridColumns(1000));
        QCOMPARE(TwipsToPixels(20010, 192), 2668);
        QCOMPARE(PixelsToTwips(1334, 96), 20010);

        // Minimised: negative tops apply, negative sizes are refused; restoring undoes it all.
        MainGeometry g = design;
        ApplyPlacementRules(g, 0, 0);
        QCOMPARE(g["cmdLoadAll"].top, -1000);
        QCOMPARE(g["FlexGrid1"], design.at("FlexGrid1"));
        ApplyPlacementRules(g, kMainDesignWidth, kMainDesignHeight);
        QCOMPARE(g, design);
    }

    void startUpState() {
        frmMain w(context);
        const test::MainUi ui(w);
        QCOMPARE(w.windowTitle(), QStringLiteral("ZANQ LIBRARIAN"));
        // A literal ampersand survives as text.
        QCOMPARE(ui.cmdLoadPatchListMatrix->text(),
                 QStringLiteral("&Load file in Patch Library && Matrix"));
        QCOMPARE(ui.StatusPanel[2]->text(), QStringLiteral("DEEPMIND NOT DETECTED"));
        for (QPushButton* disabled :
             {ui.cmdLoadInMatrix, ui.cmdLoadAll, ui.cmdMIDI_IN, ui.cmdMIDI_OUT})
            QVERIFY2(!disabled->isEnabled(), qPrintable(disabled->objectName()));
        QVERIFY(ui.ProgressBar1->isHidden() && ui.Timer1->isActive());
    }

    void gridAndLibraryFollowTheLibrarian() {
        frmMain w(context);
        const test::MainUi ui(w);
        QAbstractItemModelTester grid(ui.gridModel,
                                      QAbstractItemModelTester::FailureReportingMode::QtTest);
        QAbstractItemModelTester list(ui.List1->model(),
                                      QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(ui.FlexGrid1->model()->headerData(7, Qt::Horizontal).toString(),
                 QStringLiteral("Bank H"));
        QCOMPARE(ui.FlexGrid1->model()->headerData(127, Qt::Vertical).toString(),
                 QStringLiteral("128"));
        t.librarian.apply(test::MakeRecord("Warm Pad", 2, 6), LoadTarget::Matrix);
        QCOMPARE(ui.gridModel->index(6, 2).data().toString(), QStringLiteral("Warm Pad"));
        QSignalSpy repaint(ui.gridModel, &QAbstractItemModel::dataChanged);
        t.librarian.clear({Bank::fromNumber(3)}, false);
        QCOMPARE(ui.gridModel->index(6, 2).data().toString(), QString());
        QCOMPARE(repaint.size(), 1);  // one repaint for the whole bank

        for (const char* name : {"pad", "Bass", "Arp", "Zap"})
            t.librarian.apply(test::MakeRecord(name, 0, 0), LoadTarget::Library);
        QCOMPARE(ui.libraryLines(), (QStringList{"Arp", "Bass", "pad", "Zap"}));
        ui.List1->SelectLibraryEntry("Bass");
        QCOMPARE(ui.List1->selectedName(), QStringLiteral("Bass"));
        t.librarian.deleteFromLibrary("Bass");
        QCOMPARE(ui.List1->count(), 3);
        QCOMPARE(ui.List1->selectedName(), QString());
        t.librarian.apply(test::MakeRecord("Bass", 0, 0), LoadTarget::Library);  // shows again
        QVERIFY(ui.List1->lineNamed("Bass"));
        t.librarian.clear({}, true);
        QCOMPARE(ui.List1->count(), 0);
        QCOMPARE(ui.StatusPanel[1]->text(), QStringLiteral("Patches in library : 0"));
    }

    void resizeFollowsPlacementRulesUntilQuit() {
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

        QSignalSpy closing(&w, &frmMain::closing);
        ui.mnuQuit->trigger();
        QCOMPARE(closing.size(), 1);
        QVERIFY(!w.isVisible() && !ui.Timer1->isActive());
    }

    void sixteenCharacterNamesShowWhole() {
        auto app = program();
        frmMain& window = app->window();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const test::MainUi ui(window);
        QTableView* grid = ui.FlexGrid1;
        QListWidget* list = ui.List1;
        // A long library shows its scroll bar beside the names.
        const int listRoom = TextRoom(
            list, list->width() - 2 * list->frameWidth() -
                      list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list));
        const QString name = QStringLiteral("Brass Ensemble 2");
        QVERIFY2(
            grid->fontMetrics().horizontalAdvance(name) <= TextRoom(grid, grid->columnWidth(0)),
            qPrintable(QFontInfo(grid->font()).family()));
        QVERIFY2(list->fontMetrics().horizontalAdvance(name) <= listRoom,
                 qPrintable(QFontInfo(list->font()).family()));
    }

    void mainWindowReopensWhereItWasLeft() {
        QRect designed;
        {
            auto app = program();  // nothing remembered yet: the design size
            designed = app->window().geometry();
            app->window().show();
            app->window().setGeometry(designed.translated(40, 30).adjusted(0, 0, 160, 90));
            QTRY_COMPARE(app->window().size(), designed.size() + QSize(160, 90));
            app->window().close();
        }
        {
            auto app = program();
            QCOMPARE(app->window().geometry(), designed.translated(40, 30).adjusted(0, 0, 160, 90));
            app->window().showMaximized();
            QTRY_VERIFY(app->window().isMaximized());
            app->window().close();
        }
        QVERIFY(program()->window().windowState() & Qt::WindowMaximized);
    }

    void enterAnswersTheDefaultButton() {
        MessageBoxPrompter boxes;
        QMessageBox::StandardButton pressed = QMessageBox::NoButton;
        PressOnNextBox(Qt::Key_Return, &pressed);
        QVERIFY(!boxes.askYesNoDefaultNo(nullptr, "Delete?", kAppTitle, QMessageBox::Warning));
        QCOMPARE(pressed, QMessageBox::No);
        PressOnNextBox(Qt::Key_Return, &pressed);
        QVERIFY(boxes.askYesNo(nullptr, "Send?", kAppTitle, QMessageBox::Question));
        QCOMPARE(pressed, QMessageBox::Yes);
        PressOnNextBox(Qt::Key_Escape, &pressed);
        QVERIFY(!boxes.askYesNo(nullptr, "Send?", kAppTitle, QMessageBox::Question));
    }
};

int main(int argc, char** argv) {
    // A desktop whose font setup knows nothing of metric-compatible fonts, as many do: only the
    // program's own request can then bring them in place of the design fonts.
    QTemporaryDir fonts;
    QFile config(fonts.filePath(QStringLiteral("fonts.conf")));
    if (!config.open(QIODevice::WriteOnly))
        return 2;
    config.write(
        "<?xml version=\"1.0\"?><fontconfig><dir>/usr/share/fonts</dir>"
        "<cachedir>/var/cache/fontconfig</cachedir><cachedir>" +
        fonts.path().toUtf8() +
        "</cachedir><alias><family>sans-serif</family>"
        "<prefer><family>DejaVu Sans</family></prefer></alias></fontconfig>");
    config.close();
    qputenv("FONTCONFIG_FILE", config.fileName().toUtf8());
    QApplication app(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_mainwindow.moc"
