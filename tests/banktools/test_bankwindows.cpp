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
        QCOMPARE(swap->cmbSource->count(), 8);
        QCOMPARE(swap->cmbDestination->itemText(7), QStringLiteral("Bank H"));
        QCOMPARE(swap->cmbSource->currentText(), QStringLiteral("Bank A"));
        QCOMPARE(swap->cmbDestination->currentText(), QStringLiteral("Bank B"));
        QCOMPARE(swap->cmdCopyBank->text(), QStringLiteral("Copy A to B"));
        QCOMPARE(swap->cmdSwap->text(), QStringLiteral("Swap A and B"));
        QVERIFY(!swap->cmbSource->isEditable());

        QTest::mouseClick(swap->cmdCopyBank, Qt::LeftButton);
        QCOMPARE(main->gridModel->cellText(2, 5), QStringLiteral("Pad"));
        QCOMPARE(main->gridModel->cellText(2, 9), QString());
        QCOMPARE(GetBankByte(stores.matrix.at(2, 5)), 1);

        swap->cmbSource->setCurrentIndex(3);
        QCOMPARE(swap->cmdSwap->text(), QStringLiteral("Swap D and B"));
        swap->cmbDestination->setCurrentIndex(6);
        QCOMPARE(swap->cmdCopyBank->text(), QStringLiteral("Copy D to G"));
        QCOMPARE(swap->cmdSwap->text(), QStringLiteral("Swap D and G"));

        swap->cmbSource->setCurrentIndex(1);
        QTest::mouseClick(swap->cmdSwap, Qt::LeftButton);
        QCOMPARE(main->gridModel->cellText(7, 1), QStringLiteral("Lead"));
        QCOMPARE(main->gridModel->cellText(2, 1), QString());
        QCOMPARE(GetBankByte(stores.matrix.at(7, 5)), 6);

        QPointer<QDialog> first(swap);
        swap->close();
        QVERIFY(Discarded(first));
        swap = openSwap();
        QVERIFY(swap);
        QCOMPARE(swap->cmdCopyBank->text(), QStringLiteral("Copy A to B"));
        QCOMPARE(swap->cmbDestination->currentIndex(), 1);
    }

    void clearButtonFollowsEveryBox() {
        frmClear* clear = openClear();
        QVERIFY(clear);
        QCOMPARE(clear->windowTitle(), QStringLiteral("CLEAR"));
        QCOMPARE(clear->chkBank[9]->text(), QStringLiteral("Patch Library"));
        QVERIFY(!clear->CheckOne());
        QVERIFY(!clear->cmdClear->isEnabled());

        QTest::mouseClick(clear->chkBank[4], Qt::LeftButton);
        QVERIFY(clear->cmdClear->isEnabled());
        QTest::mouseClick(clear->chkBank[4], Qt::LeftButton);
        QVERIFY(!clear->cmdClear->isEnabled());

        clear->chkBank[9]->setChecked(true);
        clear->cmdSelectNothing->click();
        QVERIFY(!clear->chkBank[9]->isChecked());
        QVERIFY(!clear->cmdClear->isEnabled());

        clear->cmdSelectAllBanks->click();
        for (int i = 1; i <= 8; ++i)
            QVERIFY(clear->chkBank[static_cast<std::size_t>(i)]->isChecked());
        QVERIFY(!clear->chkBank[9]->isChecked());
        QVERIFY(clear->cmdClear->isEnabled());

        clear->cmdSelectNothing->click();
        clear->chkBank[9]->setChecked(true);
        clear->cmdSelectAllBanks->click();
        QVERIFY(clear->chkBank[9]->isChecked());
        clear->cmdSelectNothing->click();
        clear->cmdSelectAllDatas->click();
        QVERIFY(clear->CheckOne());
        for (int i = 1; i <= 9; ++i)
            QVERIFY(clear->chkBank[static_cast<std::size_t>(i)]->isChecked());
        clear->cmdSelectNothing->click();
        QVERIFY(!clear->CheckOne());
        QVERIFY(!clear->cmdClear->isEnabled());
    }

    void clearEmptiesTheCheckedBankAndLibrary() {
        for (int bank = 1; bank <= 8; ++bank)
            stores.matrix.set(bank, 2,
                              test::MakeRecord("Keep" + std::to_string(bank), bank - 1, 1));
        stores.matrix.set(Matrix::kScratchBank, 1, test::MakeRecord("Scratch", 8, 0));
        for (const char* name : {"One", "Two"})
            stores.library.AddIfNew(test::MakeRecord(name, 0, 0));
        main->UpdateLibraryCount();

        frmClear* clear = openClear();
        QTest::mouseClick(clear->chkBank[3], Qt::LeftButton);
        QTest::mouseClick(clear->chkBank[9], Qt::LeftButton);
        prompter.answers.enqueue(true);
        QPointer<QDialog> window(clear);
        QTest::mouseClick(clear->cmdClear, Qt::LeftButton);

        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown[0].text,
                 QStringLiteral("Do you want to delete the selected datas ?"));
        QCOMPARE(prompter.shown[0].title, kAppTitle);
        QCOMPARE(prompter.shown[0].icon, QMessageBox::Critical);
        QVERIFY(Discarded(window));
        QCOMPARE(stores.matrix.CountBankPatches(3), 0);
        QCOMPARE(main->gridModel->cellText(3, 2), QString());
        QCOMPARE(stores.matrix.CountMatrixPatches(), 7);
        QVERIFY(!stores.matrix.isEmpty(Matrix::kScratchBank, 1));
        QCOMPARE(main->List1->count(), 0);
        QCOMPARE(main->StatusPanel[1]->text(), QStringLiteral("Patches in library : 0"));
        // Nothing of the old names is left to refuse them.
        QVERIFY(stores.library.AddIfNew(test::MakeRecord("One", 0, 0)));
        QVERIFY(stores.library.AddIfNew(test::MakeRecord("Two", 0, 0)));
    }

    void answeringNoClearsNothingAndCloses() {
        stores.matrix.set(1, 1, test::MakeRecord("Stay", 0, 0));
        stores.library.AddIfNew(test::MakeRecord("Also", 0, 0));
        frmClear* clear = openClear();
        clear->cmdSelectAllDatas->click();
        QPointer<QDialog> window(clear);
        QTest::mouseClick(clear->cmdClear, Qt::LeftButton);
        QCOMPARE(prompter.shown.size(), 1);
        QVERIFY(Discarded(window));
        QCOMPARE(stores.matrix.CountMatrixPatches(), 1);
        QCOMPARE(main->List1->count(), 1);

        clear = openClear();
        QVERIFY(!clear->CheckOne());
        QVERIFY(!clear->cmdClear->isEnabled());
    }

    void searchListsHitsLive() {
        stores.library.AddIfNew(test::MakeRecord("Warm PAD", 0, 0, 1));
        stores.library.AddIfNew(test::MakeRecord("", 0, 0, 2));
        stores.library.AddIfNew(test::MakeRecord("Brass", 0, 0, 3));
        stores.matrix.set(1, 1, test::MakeRecord("Pad One", 0, 0, 4));
        stores.matrix.set(8, 128, test::MakeRecord("Last pad", 7, 127, 5));
        stores.matrix.set(2, 2, test::MakeRecord("", 1, 1, 6));

        frmSearch* search = openSearch();
        QVERIFY(search);
        QCOMPARE(search->windowTitle(), QStringLiteral("Search"));
        QVERIFY(search->chkLibrary->isChecked() && search->chkMatrix->isChecked());
        QVERIFY(search->cmdSearch->isHidden());
        QCOMPARE(search->lblResults->text(), QStringLiteral("Results"));
        QVERIFY(Lines(*search).isEmpty());
        const QFontMetrics metrics(search->lstResult->font());
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("iiii")),
                 metrics.horizontalAdvance(QStringLiteral("MMMM")));

        QTest::keyClicks(search->txtSearch, QStringLiteral("p"));
        QCOMPARE(search->lblResults->text(), QStringLiteral("Results (3)"));
        QTest::keyClicks(search->txtSearch, QStringLiteral("AD"));
        QCOMPARE(Lines(*search), (QStringList{QStringLiteral("Library : Warm PAD"),
                                              QStringLiteral("Mx A-001: Pad One"),
                                              QStringLiteral("Mx H-128: Last pad")}));

        QTest::mouseClick(search->chkMatrix, Qt::LeftButton);
        QCOMPARE(Lines(*search), QStringList{QStringLiteral("Library : Warm PAD")});
        QTest::mouseClick(search->chkLibrary, Qt::LeftButton);
        QCOMPARE(search->lblResults->text(), QStringLiteral("Results (0)"));
        QVERIFY(Lines(*search).isEmpty());
        QTest::mouseClick(search->chkMatrix, Qt::LeftButton);
        QCOMPARE(search->lblResults->text(), QStringLiteral("Results (2)"));

        QTest::mouseClick(search->chkLibrary, Qt::LeftButton);
        search->txtSearch->clear();
        QCOMPARE(Lines(*search),
                 (QStringList{
                     QStringLiteral("Library : Warm PAD"), QStringLiteral("Library : Brass"),
                     QStringLiteral("Mx A-001: Pad One"), QStringLiteral("Mx H-128: Last pad")}));
    }

    void designGeometryAndTabOrder() {
        // Each window's focus chain, from its first control, and one control's twips geometry.
        const auto chain = [](QWidget* first, int length) {
            QList<QWidget*> seen{first};
            for (QWidget* w = first->nextInFocusChain(); seen.size() < length;
                 w = w->nextInFocusChain())
                if (w->focusPolicy() & Qt::TabFocus && w->isVisibleTo(w->window()))
                    seen.append(w);
            return seen;
        };
        frmSwap* swap = openSwap();
        QCOMPARE(chain(swap->cmbSource, 4), (QList<QWidget*>{swap->cmbSource, swap->cmbDestination,
                                                             swap->cmdSwap, swap->cmdCopyBank}));
        swap->close();
        frmClear* clear = openClear();
        const double dpi = clear->logicalDpiY();
        QCOMPARE(clear->size(), QSize(TwipsToPixels(10215, dpi), TwipsToPixels(3315, dpi)));
        QCOMPARE(clear->cmdClear->geometry(),
                 QRect(TwipsToPixels(420, dpi), TwipsToPixels(2460, dpi), TwipsToPixels(9495, dpi),
                       TwipsToPixels(615, dpi)));
        QList<QWidget*> clearOrder;
        for (std::size_t i = 8; i >= 1; --i)
            clearOrder.append(clear->chkBank[i]);
        clearOrder << clear->chkBank[9] << clear->cmdClear << clear->cmdSelectAllBanks
                   << clear->cmdSelectAllDatas << clear->cmdSelectNothing;
        QCOMPARE(chain(clear->chkBank[8], 13), clearOrder);
        clear->close();
        frmSearch* search = openSearch();
        QCOMPARE(chain(search->lstResult, 4),
                 (QList<QWidget*>{search->lstResult, search->txtSearch, search->chkLibrary,
                                  search->chkMatrix}));
    }

    void clickingAHitShowsItInTheMainList() {
        // List1 sorts "alpha" before "Beta" and "beta"; the hit must pick the exact name.
        for (const char* name : {"beta", "Beta", "alpha"})
            stores.library.AddIfNew(test::MakeRecord(name, 0, 0));
        stores.matrix.set(3, 4, test::MakeRecord("Beta", 2, 3));
        frmSearch* search = openSearch();
        QTest::keyClicks(search->txtSearch, QStringLiteral("BETA"));
        QCOMPARE(Lines(*search),
                 (QStringList{QStringLiteral("Library : beta"), QStringLiteral("Library : Beta"),
                              QStringLiteral("Mx C-004: Beta")}));
        ClickLine(*search, 1);
        QCOMPARE(main->List1->selectedName(), QStringLiteral("Beta"));
        QCOMPARE(main->List1->currentItem()->text(), QStringLiteral("Beta"));
        ClickLine(*search, 0);
        QCOMPARE(main->List1->selectedName(), QStringLiteral("beta"));
        ClickLine(*search, 2);
        QCOMPARE(main->List1->selectedName(), QString());
        QCOMPARE(main->List1->currentRow(), -1);
    }
};

QTEST_MAIN(BankWindowsTest)
#include "test_bankwindows.moc"
