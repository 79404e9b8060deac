// The bank tools as the main window opens them: BANKS, CLEAR and Search, and the search rules.

#include <QAbstractItemModelTester>
#include <QtTest>
#include <QtWidgets>

#include "banktools/BankTools.h"
#include "banktools/PatchSearch.h"
#include "banktools/frmClear.h"
#include "banktools/frmSearch.h"
#include "banktools/frmSwap.h"
#include "support/MainRig.h"

using namespace zanq;

using zanq::test::At;

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

class BankToolsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<test::MainRig> rig;

    QString cell(const char* slot) const { return rig->ui.gridModel->cellText(At(slot)); }

private slots:
    void init() { rig = std::make_unique<test::MainRig>(std::vector{InstallBankTools}); }
    void cleanup() { rig.reset(); }

    void foldingAgreesWithQtForEverySingleByte() {
        // Every Latin-1 name byte against every Latin-1 text letter, plus letters outside
        // Latin-1 that fold onto it (Greek mu, Kelvin sign, long s).
        QString texts = QStringLiteral("\u03BC\u212A\u017F");
        for (int c = 1; c < 256; ++c)
            texts.append(QChar(c));
        for (int b = 1; b < 256; ++b) {
            const std::string name(1, static_cast<char>(b));
            for (QChar t : texts)
                if (PatchNameMatcher(QString(t)).matches(name) !=
                    QString::fromLatin1(name).contains(t, Qt::CaseInsensitive))
                    QFAIL(qPrintable(QStringLiteral("byte %1 text U+%2")
                                         .arg(b)
                                         .arg(t.unicode(), 4, 16, QLatin1Char('0'))));
        }
    }

    // A plain substring: spaces count, and nothing is a wildcard.
    void substringRules() {
        QVERIFY(PatchNameMatcher(QStringLiteral("RM P")).matches("Warm PAD"));
        for (const char* text : {"warm  pad", "*", "pads"})
            QVERIFY2(!PatchNameMatcher(QString::fromLatin1(text)).matches("Warm PAD"), text);
    }

    void banksCopiesAndSwapsThroughItsButtons() {
        rig->librarian.place(At("A-1"), test::MakeRecord("Lead", 0, 0, 1));
        const PatchRecord pad = test::MakeRecord("Pad", 0, 4, 2);
        rig->librarian.place(At("A-5"), pad);
        rig->librarian.place(At("B-9"), test::MakeRecord("Gone", 1, 8, 3));
        frmSwap* swap = rig->opens<frmSwap>(rig->ui.cmdMatrixUtils);
        QVERIFY(swap);
        QCOMPARE(swap->cmbDestination->itemText(7), QStringLiteral("Bank H"));
        QCOMPARE(swap->cmdCopyBank->text(), QStringLiteral("Copy A to B"));
        QTest::mouseClick(swap->cmdCopyBank, Qt::LeftButton);
        QCOMPARE(rig->librarian.at(At("B-5")), test::Moved(pad, At("B-5")));
        QCOMPARE(cell("B-9"), QString());  // an empty source slot empties its destination

        swap->cmbSource->setCurrentIndex(3);
        swap->cmbDestination->setCurrentIndex(6);
        QCOMPARE(swap->cmdCopyBank->text(), QStringLiteral("Copy D to G"));
        swap->cmbSource->setCurrentIndex(1);
        QCOMPARE(swap->cmdSwap->text(), QStringLiteral("Swap B and G"));
        QTest::mouseClick(swap->cmdSwap, Qt::LeftButton);
        QCOMPARE(cell("G-1"), QStringLiteral("Lead"));
        QCOMPARE(cell("B-1"), QString());
    }

    // The CLEAR button follows every box; each time afresh, one question with No as the
    // default, and the window goes either way.
    void clearFollowsItsBoxesAndAsksOnce() {
        rig->librarian.place(At("C-2"), test::MakeRecord("Keep3", 2, 1));
        rig->librarian.place(At("D-2"), test::MakeRecord("Keep4", 3, 1));
        rig->librarian.apply({test::MakeRecord("One", 0, 0), test::MakeRecord("Two", 0, 0)},
                             LoadTarget::Library);
        for (bool yes : {false, true}) {
            QPointer<frmClear> clear = rig->opens<frmClear>(rig->ui.mnuClear);
            QCOMPARE(State(*clear), QStringLiteral("000000000-"));
            // Select all banks leaves the library box as it is.
            const std::pair<QAbstractButton*, const char*> steps[] = {
                {clear->chkBank[9], "000000001+"},        {clear->cmdSelectAllBanks, "111111111+"},
                {clear->cmdSelectNothing, "000000000-"},  {clear->cmdSelectAllBanks, "111111110+"},
                {clear->chkBank[4], "111011110+"},        {clear->cmdSelectNothing, "000000000-"},
                {clear->cmdSelectAllDatas, "111111111+"}, {clear->cmdSelectNothing, "000000000-"}};
            for (auto [button, expected] : steps) {
                if (yes)  // once is enough
                    break;
                QTest::mouseClick(button, Qt::LeftButton);
                QCOMPARE(State(*clear), QString::fromLatin1(expected));
            }
            QTest::mouseClick(clear->chkBank[3], Qt::LeftButton);
            QTest::mouseClick(clear->chkBank[9], Qt::LeftButton);
            rig->prompter.answers.enqueue(yes);
            QTest::mouseClick(clear->cmdClear, Qt::LeftButton);
            QVERIFY(Discarded(clear.data()));
            QCOMPARE(cell("C-2"), yes ? QString() : QStringLiteral("Keep3"));
            QCOMPARE(rig->librarian.matrix().CountMatrixPatches(), yes ? 1 : 2);
            QCOMPARE(rig->ui.StatusPanel[1]->text(),
                     QStringLiteral("Patches in library : %1").arg(yes ? 0 : 2));
        }
        QCOMPARE(rig->prompter.shown.size(), 2);
        for (const auto& asked : rig->prompter.shown) {
            QCOMPARE(asked.text, QStringLiteral("Do you want to delete the selected datas ?"));
            QCOMPARE(asked.title, kAppTitle);
            QCOMPARE(asked.icon, QMessageBox::Critical);
            QVERIFY(asked.defaultNo);
        }
        // After a clear nothing of the old names is left to refuse them.
        QCOMPARE(
            rig->librarian.apply(test::MakeRecord("One", 0, 0), LoadTarget::Library).addedToLibrary,
            std::size_t(1));
    }

    void searchListsHitsLiveAndSelectsLibraryHits() {
        // List1 sorts "Acid" before "Beta" and "beta": a hit must pick its line by exact name.
        // A deleted library entry and a patch without a name are never hits.
        for (const char* name : {"Warm PAD", "Gone pad", "beta", "Beta", "Acid"})
            rig->librarian.apply(test::MakeRecord(name, 0, 0), LoadTarget::Library);
        rig->librarian.deleteFromLibrary("Gone pad");
        rig->librarian.place(At("A-1"), test::MakeRecord("Pad One", 0, 0));
        rig->librarian.place(At("B-2"), test::MakeRecord("", 1, 1));
        rig->librarian.place(At("C-4"), test::MakeRecord("Beta", 2, 3));
        rig->librarian.place(At("H-128"), test::MakeRecord("Last pad", 7, 127));

        frmSearch* search = rig->opens<frmSearch>(rig->ui.cmdSearch);
        QVERIFY(search);
        QAbstractItemModelTester tester(search->lstResult->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(search->chkLibrary->isChecked() && search->chkMatrix->isChecked());
        QVERIFY(search->cmdSearch->isHidden() && Lines(*search).isEmpty());
        const auto results = [search] { return search->lblResults->text(); };
        const QFontMetrics metrics(search->lstResult->font());  // fixed pitch: places line up
        QCOMPARE(metrics.horizontalAdvance("iiii"), metrics.horizontalAdvance("MMMM"));

        QTest::keyClicks(search->txtSearch, QStringLiteral("p"));
        QCOMPARE(results(), QStringLiteral("Results (3)"));
        QTest::keyClicks(search->txtSearch, QStringLiteral("AD"));
        QCOMPARE(Lines(*search),
                 (QStringList{"Library : Warm PAD", "Mx A-001: Pad One", "Mx H-128: Last pad"}));
        QTest::mouseClick(search->chkMatrix, Qt::LeftButton);
        QCOMPARE(results(), QStringLiteral("Results (1)"));
        QTest::mouseClick(search->chkMatrix, Qt::LeftButton);
        search->txtSearch->clear();
        QCOMPARE(results(), QStringLiteral("Results (7)"));

        QTest::keyClicks(search->txtSearch, QStringLiteral("BETA"));
        QCOMPARE(Lines(*search),
                 (QStringList{"Library : beta", "Library : Beta", "Mx C-004: Beta"}));
        // Library hits select their line in the main list; a Matrix hit clears the selection.
        for (auto [row, name] : {std::pair{1, "Beta"}, {0, "beta"}, {2, ""}}) {
            test::ClickIndex(search->lstResult, search->lstResult->model()->index(row, 0));
            QCOMPARE(rig->ui.List1->selectedName(), QString::fromLatin1(name));
        }
        QCOMPARE(rig->ui.List1->currentRow(), -1);
    }
};

QTEST_MAIN(BankToolsTest)
#include "test_banktools.moc"
