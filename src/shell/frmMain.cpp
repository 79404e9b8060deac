#include "shell/frmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <utility>

#include "model/LibraryListWidget.h"
#include "model/MatrixGridModel.h"
#include "shell/ClickableLabel.h"
#include "shell/DragDropRouter.h"
#include "shell/GridFont.h"

namespace zanq {

namespace {
constexpr int kDetectionIntervalMs = 5000;
}

frmMain::frmMain(AppContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context), geometry_(MainDesignGeometry()) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("ZANQ LIBRARIAN"));

    // Start-up: the version in the status bar, the grid set up; the grid, the library list
    // and its count follow the Librarian from here on.
    ui_.build(*this, context_.librarian, logicalDpi());
    Fillgrid();
    UpdateLibraryCount();
    connect(&context_.librarian, &Librarian::libraryCountChanged, this,
            &frmMain::UpdateLibraryCount);
    new DragDropRouter(*this, ui_, context_);
    routeCommands();

    ui_.client->installEventFilter(this);
    resize(designClientSize() + QSize(0, menuBar()->sizeHint().height()));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kDetectionIntervalMs);
    connect(Timer1, &QTimer::timeout, this, &frmMain::ticked);
    Timer1->start();
}

frmMain::~frmMain() = default;

void frmMain::routeCommands() {
    connect(ui_.cmdSauver, &QPushButton::clicked, this, &frmMain::saveRequested);
    connect(ui_.mnuSave, &QAction::triggered, this, &frmMain::saveRequested);
    connect(ui_.cmdMatrixUtils, &QPushButton::clicked, this, &frmMain::banksRequested);
    connect(ui_.cmdSearch, &QPushButton::clicked, this, &frmMain::searchRequested);
    connect(ui_.mnuClear, &QAction::triggered, this, &frmMain::clearRequested);
    connect(ui_.mnuAbout, &QAction::triggered, this, &frmMain::aboutRequested);
    connect(ui_.mnuQuit, &QAction::triggered, this, &QWidget::close);
    connect(ui_.cmdMIDI_OUT, &QPushButton::clicked, this, &frmMain::midiOutClicked);
    connect(ui_.cmdMIDI_IN, &QPushButton::clicked, this, &frmMain::midiInClicked);
    connect(ui_.cmdSize, &QPushButton::clicked, this, &frmMain::FitGridColumns);
    connect(ui_.Image3, &ClickableLabel::clicked, this, &frmMain::titleClicked);
    connect(ui_.StatusPanel[0], &ClickableLabel::clicked, this, &frmMain::makerPanelClicked);
    connect(ui_.StatusPanel[3], &ClickableLabel::clicked, this, &frmMain::versionPanelClicked);
    connect(ui_.lblversion, &ClickableLabel::clicked, this, &frmMain::versionNoticeClicked);

    // A double click on a filled slot and one on an empty slot lead to different places; the
    // slot is judged here, once, before anyone acts on it.
    connect(ui_.FlexGrid1, &QTableView::doubleClicked, this, [this](const QModelIndex& cell) {
        if (!cell.isValid())
            return;
        const Slot slot = MatrixGridModel::slotAt(cell);
        if (context_.librarian.isEmpty(slot))
            emit emptySlotDoubleClicked(slot);
        else
            emit filledSlotDoubleClicked(slot);
    });
    connect(ui_.List1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* line) {
        if (line)
            emit libraryLineDoubleClicked(line->text());
    });
}

FileBrowserControls frmMain::fileBrowser() const {
    return {ui_.Drive1,
            ui_.Dir1,
            ui_.File1,
            ui_.cmdLoadPatchListMatrix,
            ui_.cmdLoadPatchlist,
            ui_.cmdLoadInMatrix,
            ui_.cmdLoadAll};
}

QString frmMain::selectedLibraryName() const {
    return ui_.List1->selectedName();
}

void frmMain::selectLibraryEntry(const QString& name) {
    ui_.List1->SelectLibraryEntry(name);
}

void frmMain::setLibraryListVisible(bool visible) {
    ui_.List1->setVisible(visible);
}

void frmMain::showSynthPorts(bool outputFound, bool inputFound, const QString& status) {
    const bool changed = outputFound != synthOutputFound();
    ui_.cmdMIDI_OUT->setEnabled(outputFound);
    ui_.cmdMIDI_IN->setEnabled(inputFound);
    ui_.StatusPanel[2]->setText(status);
    if (changed)
        emit synthOutputFoundChanged(outputFound);
}

bool frmMain::synthOutputFound() const {
    return ui_.cmdMIDI_OUT->isEnabled();
}

void frmMain::showVersionNotice(const QString& notice) {
    ui_.lblversion->setTextFormat(Qt::PlainText);
    ui_.lblversion->setText(notice);
    ui_.lblversion->setEnabled(!notice.isEmpty());
}

void frmMain::setVersionNoticeVisible(bool visible) {
    ui_.lblversion->setVisible(visible);
}

void frmMain::showProgress(int maximum) {
    ui_.ProgressBar1->setRange(0, maximum);
    ui_.ProgressBar1->show();
}

void frmMain::setProgress(int value) {
    ui_.ProgressBar1->setValue(value);
}

void frmMain::hideProgress() {
    ui_.ProgressBar1->hide();
}

void frmMain::announceFilesChanged() {
    emit filesChanged();
}

void frmMain::addEditMenu(QMenu* edit) {
    menuBar()->insertMenu(ui_.mnuUtils->menuAction(), edit);
}

void frmMain::addFilesEntry(QAction* entry) {
    ui_.mnuFiles->insertAction(ui_.mnuBid7, entry);
}

double frmMain::logicalDpi() const {
    return logicalDpiY() > 0 ? logicalDpiY() : 96.0;
}

QSize frmMain::designClientSize() const {
    return {TwipsToPixels(kMainDesignWidth, logicalDpi()),
            TwipsToPixels(kMainDesignHeight, logicalDpi())};
}

void frmMain::Fillgrid() {
    // Headers and alignment come from the grid model; widths are set here; the font and the row
    // height where the grid is fitted to its width, as the window is first shown (measuring the
    // texts at the design size first would be work thrown away).
    QTableView* grid = ui_.FlexGrid1;
    grid->verticalHeader()->setFixedWidth(TwipsToPixels(kGridHeaderColumnWidth, logicalDpi()));
    for (int column = 0; column < Bank::kCount; ++column)
        grid->setColumnWidth(column, TwipsToPixels(kGridDesignColumnWidth, logicalDpi()));
}

void frmMain::UpdateLibraryCount() {
    ui_.StatusPanel[1]->setText(QStringLiteral("Patches in library : %1").arg(ui_.List1->count()));
}

bool frmMain::event(QEvent* event) {
    if (event->type() == QEvent::Paint && !std::exchange(painted_, true))
        // Queued, so that the paint under way ends first.
        QTimer::singleShot(0, this, &frmMain::firstPainted);
    return QMainWindow::event(event);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_.client && event->type() == QEvent::Resize)
        Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::Form_Resize() {
    const double dpi = logicalDpi();
    const int sw = PixelsToTwips(ui_.client->width(), dpi);
    const int sh = PixelsToTwips(ui_.client->height() + ui_.StatusBar1->height(), dpi);
    ApplyPlacementRules(geometry_, sw, sh);
    placeControls();
    FitGridColumns();
}

void frmMain::placeControls() {
    // The controls carry the names that the geometry is keyed by.
    const double dpi = logicalDpi();
    for (QWidget* widget : ui_.client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const auto placed = geometry_.find(widget->objectName().toStdString());
        if (placed == geometry_.end())
            continue;
        const TwipRect& r = placed->second;
        widget->setGeometry(TwipsToPixels(r.left, dpi), TwipsToPixels(r.top, dpi),
                            TwipsToPixels(r.width, dpi), TwipsToPixels(r.height, dpi));
    }
}

void frmMain::FitGridColumns() {
    QTableView* grid = ui_.FlexGrid1;
    if (const auto fit = zanq::FitGridColumns(geometry_.at("FlexGrid1").width)) {
        const int columnPixels = TwipsToPixels(fit->columnWidth, logicalDpi());
        for (int column = 0; column < Bank::kCount; ++column)
            grid->setColumnWidth(column, columnPixels);
        SetGridFontSize(*grid, fit->fontPoints);
    } else if (!grid->testAttribute(Qt::WA_SetFont)) {
        // Too narrow to fit from the start: the grid keeps its design font.
        SetGridFontSize(*grid, kGridDesignPoints);
    }
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 4);
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (!shutDown_) {
        shutDown_ = true;
        Timer1->stop();
        emit closing();
    }
    event->accept();
    // Closing the main window ends the program: every other window goes with it.
    QCoreApplication::quit();
}

}  // namespace zanq
