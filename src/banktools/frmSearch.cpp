#include "banktools/frmSearch.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include "banktools/DialogDesign.h"
#include "banktools/PatchSearch.h"
#include "banktools/SearchResultsModel.h"
#include "shell/frmMain.h"

namespace zanq {

namespace {
// Courier New where it exists, else the platform's own fixed-width face: the hits line up.
QFont ResultFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(8.25);
    const QFontMetrics metrics(font);
    if (metrics.horizontalAdvance(QLatin1Char('i')) !=
        metrics.horizontalAdvance(QLatin1Char('M'))) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSizeF(8.25);
    }
    return font;
}
}  // namespace

frmSearch::frmSearch(frmMain& main, const Librarian& librarian)
    : QDialog(&main), main_(main), librarian_(librarian) {
    setObjectName(QStringLiteral("frmSearch"));
    setWindowTitle(QStringLiteral("Search"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    SetDesignClientSize(*this, 4305, 4020);

    Label1 = new QLabel(QStringLiteral("Search string"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    PlaceTwips(*Label1, 240, 120, 1635, 315);
    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    PlaceTwips(*txtSearch, 180, 420, 3915, 375);
    chkLibrary = new QCheckBox(QStringLiteral("search in Library"), this);
    chkLibrary->setObjectName(QStringLiteral("chkLibrary"));
    chkLibrary->setChecked(true);
    PlaceTwips(*chkLibrary, 180, 840, 1635, 195);
    chkMatrix = new QCheckBox(QStringLiteral("search in Matrix"), this);
    chkMatrix->setObjectName(QStringLiteral("chkMatrix"));
    chkMatrix->setChecked(true);
    PlaceTwips(*chkMatrix, 2220, 840, 1935, 195);
    cmdSearch = new QPushButton(QStringLiteral("Search"), this);
    cmdSearch->setObjectName(QStringLiteral("cmdSearch"));
    cmdSearch->setAutoDefault(false);
    PlaceTwips(*cmdSearch, 3180, 1080, 675, 375);
    cmdSearch->hide();
    lblResults = new QLabel(QStringLiteral("Results"), this);
    lblResults->setObjectName(QStringLiteral("lblResults"));
    PlaceTwips(*lblResults, 240, 1380, 1635, 255);

    results = new SearchResultsModel(librarian, this);
    lstResult = new QListView(this);
    lstResult->setObjectName(QStringLiteral("lstResult"));
    lstResult->setModel(results);
    lstResult->setSelectionMode(QAbstractItemView::SingleSelection);
    lstResult->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstResult->setUniformItemSizes(true);
    lstResult->setFont(ResultFont());
    PlaceTwips(*lstResult, 180, 1680, 3915, 2160);

    setTabOrder(lstResult, txtSearch);
    setTabOrder(txtSearch, chkLibrary);
    setTabOrder(chkLibrary, chkMatrix);

    connect(txtSearch, &QLineEdit::textChanged, this, &frmSearch::txtSearch_Change);
    connect(chkLibrary, &QCheckBox::toggled, this, &frmSearch::chkLibrary_Click);
    connect(chkMatrix, &QCheckBox::toggled, this, &frmSearch::chkMatrix_Click);
    connect(cmdSearch, &QPushButton::clicked, this, &frmSearch::cmdSearch_Click);
    // A list box's click follows its selected line, by mouse or by keyboard.
    connect(lstResult->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    lstResult_Click(current);
            });
}

void frmSearch::txtSearch_Change() {
    cmdSearch_Click();
}

void frmSearch::chkLibrary_Click() {
    cmdSearch_Click();
}

void frmSearch::chkMatrix_Click() {
    cmdSearch_Click();
}

void frmSearch::cmdSearch_Click() {
    results->setHits(FindPatches(librarian_, txtSearch->text(), chkLibrary->isChecked(),
                                 chkMatrix->isChecked()));
    lblResults->setText(QStringLiteral("Results (%1)").arg(results->rowCount()));
}

void frmSearch::lstResult_Click(const QModelIndex& index) {
    const QString line = results->line(index.row());
    // A Library hit selects its line in the main window; a Matrix hit leaves none selected.
    main_.selectLibraryEntry(line.startsWith(QStringLiteral("Library"))
                                 ? line.mid(kLibraryLinePrefix.size())
                                 : QString());
}

}  // namespace zanq
