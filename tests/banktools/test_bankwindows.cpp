#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include "banktools/BankTools.h"
#include "banktools/frmClear.h"
#include "banktools/frmSearch.h"
#include "banktools/frmSwap.h"
#include "model/LibraryListWidget.h"
#include "model/MatrixGridModel.h"
#include "shell/ClickableLabel.h"
#include "shell/MainLayout.h"
#include "shell/frmMain.h"
#include "support/Records.h"
#include "support/ScriptedPrompter.h"

using namespace zanq;

namespace {
// Waits for a window closed with WA_DeleteOnClose to be gone.
bool Discarded(QPointer<QDialog> window) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return window.isNull();
}

QStringList Lines(const frmSearch& search) {
    QStringList lines;
    const QAbstractItemModel* model = search.lstResult->model();
    for (int row = 0; row < model->rowCount(); ++row)
        lines.append(model->index(row, 0).data().toString());
    return lines;
}

void ClickLine(frmSearch& search, int row) {
    const QModelIndex index = search.lstResult->model()->index(row, 0);
    search.lstResult->scrollTo(index);
    QTest::mouseClick(search.lstResult->viewport(), Qt::LeftButton, {},
                      search.lstResult->visualRect(index).center());
}

// CLEAR's boxes 1..9 as 1 or 0, then + when the CLEAR button is enabled, - when it is not, and
// ? when CheckOne() disagrees with the button.
QString State(const frmClear& clear) {
    QString s;
    for (std::size_t i = 1; i <= 9; ++i)
        s += clear.chkBank[i]->isChecked() ? '1' : '0';
    const bool on = clear.cmdClear->isEnabled();
    return s + (on != clear.CheckOne() ? '?' : on ? '+' : '-');
}
}  // namespace

class BankWindowsTest : public QObject {
    Q_OBJECT
    PatchStores stores;
    test::ScriptedPrompter prompter;
    AppContext context{stores, prompter, QDir::tempPath()};
    std::unique_ptr<frmMain> main;

    template <typename Window>
    Window* open(const std::function<void()>& trigger) {
        trigger();
        auto* window = main->findChild<Window*>();
        return window && window->isVisible() && window->isModal() ? window : nullptr;
    }
    frmSwap* openSwap() {
        return open<frmSwap>([this] { main->cmdMatrixUtils->click(); });
    }
    frmClear* openClear() {
        return open<frmClear>([this] { main->mnuClear->trigger(); });
    }
    frmSearch* openSearch() {
        return open<frmSearch>([this] { main->cmdSearch->click(); });
    }

private slots:
    void init() {
        stores.matrix = Matrix();
        prompter.shown.clear();
        main = std::make_unique<frmMain>(context);
        InstallBankTools(*main, context);
    }
    void cleanup() { main.reset(); }

    void banksCopiesAndSwapsThroughItsButtons() {
        stores.matrix.set(1, 1, test::MakeRecord("Lead", 0, 0, 1));
        stores.matrix.set(1, 5, test::MakeRecord("Pad", 0, 4, 2));
        stores.matrix.set(2, 9, test::MakeRecord("Gone", 1, 8, 3));
        frmSwap* swap = openSwap();
        QVERIFY(swap);
        QCOMPARE(swap->windowTitle(), QStringLiteral("BANKS"));
        QCOMPARE(swap->cmbDestination->itemText(7), QStringLiteral("Bank H"));
        QCOMPARE(swap->cmdCopyBank->text(), QStringLiteral("Copy A to B"));
        QCOMPARE(swap->cmdSwap->text(), QStringLiteral("Swap A and B"));

        QTest::mouseClick(swap->cmdCopyBank, Qt::LeftButton);
        QCOMPARE(main->gridModel->cellText(2, 5), QStringLiteral("Pad"));
        QCOMPARE(main->gridModel->cellText(2, 9), QString());

        swap->cmbSource->setCurrentIndex(3);
        QCOMPARE(swap->cmdSwap->text(), QStringLiteral("Swap D and B"));
        swap->cmbDestination->setCurrentIndex(6);
        QCOMPARE(swap->cmdCopyBank->text(), QStringLiteral("Copy D to G"));

        swap->cmbSource->setCurrentIndex(1);
        QTest::mouseClick(swap->cmdSwap, Qt::LeftButton);
        QCOMPARE(main->gridModel->cellText(7, 1), QStringLiteral("Lead"));
        QCOMPARE(main->gridModel->cellText(2, 1), QString());

        // Closing discards the window; the next one starts from the defaults.
        QPointer<QDialog> first(swap);
        swap->close();
        QVERIFY(Discarded(first));
        QCOMPARE(openSwap()->cmdCopyBank->text(), QStringLiteral("Copy A to B"));
    }

    void clearButtonFollowsEveryBox() {
        frmClear* clear = openClear();
        QVERIFY(clear);
        QCOMPARE(clear->windowTitle(), QStringLiteral("CLEAR"));
        QCOMPARE(clear->chkBank[9]->text(), QStringLiteral("Patch Library"));
        QCOMPARE(State(*clear), QStringLiteral("000000000-"));
        QTest::mouseClick(clear->chkBank[4], Qt::LeftButton);
        QCOMPARE(State(*clear), QStringLiteral("000100000+"));
        QTest::mouseClick(clear->chkBank[4], Qt::LeftButton);
        QCOMPARE(State(*clear), QStringLiteral("000000000-"));
        clear->chkBank[9]->setChecked(true);
        QCOMPARE(State(*clear), QStringLiteral("000000001+"));
        clear->cmdSelectAllBanks->click();  // leaves the library box as it is
        QCOMPARE(State(*clear), QStringLiteral("111111111+"));
        clear->cmdSelectNothing->click();
        QCOMPARE(State(*clear), QStringLiteral("000000000-"));
        clear->cmdSelectAllBanks->click();
        QCOMPARE(State(*clear), QStringLiteral("111111110+"));
        clear->cmdSelectNothing->click();
        clear->cmdSelectAllDatas->click();
        QCOMPARE(State(*clear), QStringLiteral("111111111+"));
        clear->cmdSelectNothing->click();
        QCOMPARE(State(*clear), QStringLiteral("000000000-"));
    }

    void clearAsksOnceAndCloses_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes") << true;
        QTest::newRow("No") << false;
    }
    void clearAsksOnceAndCloses() {
        QFETCH(bool, yes);
        stores.matrix.set(3, 2, test::MakeRecord("Keep3", 2, 1));
        stores.matrix.set(4, 2, test::MakeRecord("Keep4", 3, 1));
        stores.matrix.set(Matrix::kScratchBank, 1, test::MakeRecord("Scratch", 8, 0));
        for (const char* name : {"One", "Two"})
            stores.library.AddIfNew(test::MakeRecord(name, 0, 0));
        main->UpdateLibraryCount();

        frmClear* clear = openClear();
        QTest::mouseClick(clear->chkBank[3], Qt::LeftButton);
        QTest::mouseClick(clear->chkBank[9], Qt::LeftButton);
        prompter.answers.enqueue(yes);
        QPointer<QDialog> window(clear);
        QTest::mouseClick(clear->cmdClear, Qt::LeftButton);

        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown[0].text,
                 QStringLiteral("Do you want to delete the selected datas ?"));
        QCOMPARE(prompter.shown[0].title, kAppTitle);
        QCOMPARE(prompter.shown[0].icon, QMessageBox::Critical);
        QVERIFY(Discarded(window));
        QCOMPARE(main->gridModel->cellText(3, 2), yes ? QString() : QStringLiteral("Keep3"));
        QCOMPARE(stores.matrix.CountMatrixPatches(), yes ? 1 : 2);
        QVERIFY(!stores.matrix.isEmpty(Matrix::kScratchBank, 1));
        QCOMPARE(main->StatusPanel[1]->text(),
                 QStringLiteral("Patches in library : %1").arg(yes ? 0 : 2));
        // After a clear nothing of the old names is left to refuse them.
        QCOMPARE(stores.library.AddIfNew(test::MakeRecord("One", 0, 0)), yes);
        QCOMPARE(State(*openClear()), QStringLiteral("000000000-"));
    }

    void searchListsHitsLiveAndSelectsLibraryHits() {
        // List1 sorts "Acid" before "Beta" and "beta": a hit must pick its line by exact name.
        for (const char* name : {"Warm PAD", "beta", "Beta", "Acid"})
            stores.library.AddIfNew(test::MakeRecord(name, 0, 0));
        stores.matrix.set(1, 1, test::MakeRecord("Pad One", 0, 0));
        stores.matrix.set(3, 4, test::MakeRecord("Beta", 2, 3));
        stores.matrix.set(8, 128, test::MakeRecord("Last pad", 7, 127));

        frmSearch* search = openSearch();
        QVERIFY(search);
        QCOMPARE(search->windowTitle(), QStringLiteral("Search"));
        QVERIFY(search->chkLibrary->isChecked() && search->chkMatrix->isChecked());
        QVERIFY(search->cmdSearch->isHidden());
        QCOMPARE(search->lblResults->text(), QStringLiteral("Results"));
        QVERIFY(Lines(*search).isEmpty());
        const QFontMetrics metrics(search->lstResult->font());  // fixed pitch: places line up
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("iiii")),
                 metrics.horizontalAdvance(QStringLiteral("MMMM")));

        QTest::keyClicks(search->txtSearch, QStringLiteral("p"));
        QCOMPARE(search->lblResults->text(), QStringLiteral("Results (3)"));
        QTest::keyClicks(search->txtSearch, QStringLiteral("AD"));
        QCOMPARE(Lines(*search), (QStringList{QStringLiteral("Library : Warm PAD"),
                                              QStringLiteral("Mx A-001: Pad One"),
                                              QStringLiteral("Mx H-128: Last pad")}));
        QTest::mouseClick(search->chkMatrix, Qt::LeftButton);
        QCOMPARE(search->lblResults->text(), QStringLiteral("Results (1)"));
        QTest::mouseClick(search->chkLibrary, Qt::LeftButton);
        QCOMPARE(search->lblResults->text(), QStringLiteral("Results (0)"));
        QVERIFY(Lines(*search).isEmpty());
        QTest::mouseClick(search->chkMatrix, Qt::LeftButton);
        QTest::mouseClick(search->chkLibrary, Qt::LeftButton);
        search->txtSearch->clear();
        QCOMPARE(search->lblResults->text(), QStringLiteral("Results (7)"));

        QTest::keyClicks(search->txtSearch, QStringLiteral("BETA"));
        QCOMPARE(Lines(*search),
                 (QStringList{QStringLiteral("Library : beta"), QStringLiteral("Library : Beta"),
                              QStringLiteral("Mx C-004: Beta")}));
        ClickLine(*search, 1);
        QCOMPARE(main->List1->selectedName(), QStringLiteral("Beta"));
        ClickLine(*search, 0);
        QCOMPARE(main->List1->selectedName(), QStringLiteral("beta"));
        ClickLine(*search, 2);
        QCOMPARE(main->List1->selectedName(), QString());
        QCOMPARE(main->List1->currentRow(), -1);
    }

    void designGeometryAndTabOrder() {
        // Each window's focus chain from its first control, by object names.
        const auto chain = [](QWidget* first, int length) {
            QStringList seen{first->objectName()};
            for (QWidget* w = first->nextInFocusChain(); seen.size() < length;
                 w = w->nextInFocusChain())
                if (w->focusPolicy() & Qt::TabFocus && w->isVisibleTo(w->window()))
                    seen.append(w->objectName());
            return seen.join(' ');
        };
        frmSwap* swap = openSwap();
        QCOMPARE(chain(swap->cmbSource, 4),
                 QStringLiteral("cmbSource cmbDestination cmdSwap cmdCopyBank"));
        swap->close();
        frmClear* clear = openClear();
        QCOMPARE(chain(clear->chkBank[8], 13),
                 QStringLiteral("chkBank8 chkBank7 chkBank6 chkBank5 chkBank4 chkBank3 chkBank2 "
                                "chkBank1 chkBank9 cmdClear cmdSelectAllBanks cmdSelectAllDatas "
                                "cmdSelectNothing"));
        const double dpi = clear->logicalDpiY();
        QCOMPARE(clear->size(), QSize(TwipsToPixels(10215, dpi), TwipsToPixels(3315, dpi)));
        QCOMPARE(clear->cmdClear->geometry(),
                 QRect(TwipsToPixels(420, dpi), TwipsToPixels(2460, dpi), TwipsToPixels(9495, dpi),
                       TwipsToPixels(615, dpi)));
        clear->close();
        frmSearch* search = openSearch();
        QCOMPARE(chain(search->lstResult, 4),
                 QStringLiteral("lstResult txtSearch chkLibrary chkMatrix"));
    }
};

QTEST_MAIN(BankWindowsTest)
#include "test_bankwindows.moc"
