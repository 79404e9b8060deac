// The program at home on a Linux desktop: names whole in the design fonts' stand-ins, the main
// window back where it was left, and Enter answering No where Yes destroys.
#include <QtTest>

#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTableView>

#include "shell/LibrarianApp.h"
#include "shell/Prompter.h"
#include "shell/WindowGeometry.h"
#include "shell/frmMain.h"

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

}  // namespace

class DesktopFitTest : public QObject {
    Q_OBJECT
    QTemporaryDir settings;

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

    void sixteenCharacterNamesShowWhole() {
        auto app = program();
        frmMain& window = app->window();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* grid = window.findChild<QTableView*>(QStringLiteral("FlexGrid1"));
        auto* list = window.findChild<QListWidget*>(QStringLiteral("List1"));
        QVERIFY(grid && list);
        // A long library shows its scroll bar beside the names.
        const int listRoom = TextRoom(
            list, list->width() - 2 * list->frameWidth() -
                      list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list));
        for (const QString& name :
             {QStringLiteral("Brass Ensemble"), QStringLiteral("Brass Ensemble 2")}) {
            QVERIFY2(
                grid->fontMetrics().horizontalAdvance(name) <= TextRoom(grid, grid->columnWidth(0)),
                qPrintable(name + " in " + QFontInfo(grid->font()).family()));
            QVERIFY2(list->fontMetrics().horizontalAdvance(name) <= listRoom,
                     qPrintable(name + " in " + QFontInfo(list->font()).family()));
        }
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
        auto app = program();
        QVERIFY(app->window().windowState() & Qt::WindowMaximized);
    }

    void enterAnswersTheDefaultButton() {
        MessageBoxPrompter prompter;
        QMessageBox::StandardButton pressed = QMessageBox::NoButton;
        PressOnNextBox(Qt::Key_Return, &pressed);
        QVERIFY(!prompter.askYesNoDefaultNo(nullptr, "Delete?", kAppTitle, QMessageBox::Warning));
        QCOMPARE(pressed, QMessageBox::No);
        PressOnNextBox(Qt::Key_Return, &pressed);
        QVERIFY(prompter.askYesNo(nullptr, "Send?", kAppTitle, QMessageBox::Question));
        QCOMPARE(pressed, QMessageBox::Yes);
        PressOnNextBox(Qt::Key_Escape, &pressed);
        QVERIFY(!prompter.askYesNo(nullptr, "Send?", kAppTitle, QMessageBox::Question));
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
    DesktopFitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_desktopfit.moc"
