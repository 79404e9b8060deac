#include "shell/MainControls.h"

#include <QComboBox>
#include <QHeaderView>
#include <QListView>
#include <QMainWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTreeView>
#include <future>

#include "BuildConfig.h"
#include "model/LibraryListWidget.h"
#include "model/MatrixGridModel.h"
#include "shell/Artwork.h"
#include "shell/ClickableLabel.h"
#include "shell/CommandButton.h"
#include "shell/GridFont.h"
#include "shell/MainLayout.h"
#include "shell/Named.h"

namespace zanq {

namespace {
const QColor kBackground(49, 49, 49);

QSize MidiIconSize(double logicalDpi) {
    return {TwipsToPixels(900, logicalDpi) - 8, TwipsToPixels(795, logicalDpi) - 8};
}

QString VersionText() {
    return QStringLiteral("v%1.%2.%3")
        .arg(build::kVersionMajor)
        .arg(build::kVersionMinor)
        .arg(build::kVersionRevision);
}
}  // namespace

struct MainPictures {
    QImage wasteBin, midiIn, midiOut, title;
};

void MainControls::build(QMainWindow& window, const Librarian& librarian, double logicalDpi) {
    // The pictures (the title's text outlined and filled above all) are drawn on a thread of
    // their own while the controls are built.
    const qreal dpr = window.devicePixelRatioF();
    auto pictures = std::async(std::launch::async, [logicalDpi, dpr] {
        const auto px = [logicalDpi](int twips) { return TwipsToPixels(twips, logicalDpi); };
        const QSize midiIcon = MidiIconSize(logicalDpi);
        return MainPictures{artwork::WasteBinImage(px(480), dpr),
                            artwork::MidiSocketImage(false, midiIcon, dpr),
                            artwork::MidiSocketImage(true, midiIcon, dpr),
                            artwork::TitleImage({px(3510), px(465)}, dpr)};
    });
    client = new QWidget(&window);
    client->setObjectName(QStringLiteral("client"));
    window.setCentralWidget(client);
    buildControls(librarian);
    buildMenus(window);
    buildStatusBar(window);
    styleControls(logicalDpi, pictures.get());
}

void MainControls::buildControls(const Librarian& librarian) {
    QWidget* c = client;

    Drive1 = Named<QComboBox>(c, "Drive1");
    Dir1 = Named<QTreeView>(c, "Dir1");
    Dir1->setHeaderHidden(true);
    File1 = Named<QListView>(c, "File1");
    cmdLoadPatchListMatrix = Named<CommandButton>(
        c, "cmdLoadPatchListMatrix", QStringLiteral("&Load file in Patch Library && Matrix"));
    cmdLoadPatchlist =
        Named<CommandButton>(c, "cmdLoadPatchlist", QStringLiteral("Load file in &Patch Library"));
    cmdLoadInMatrix =
        Named<CommandButton>(c, "cmdLoadInMatrix", QStringLiteral("Load file in &Matrix"));
    cmdLoadAll =
        Named<CommandButton>(c, "cmdLoadAll", QStringLiteral("Load &all files in Patchlist"));
    for (QPushButton* load :
         {cmdLoadPatchListMatrix, cmdLoadPatchlist, cmdLoadInMatrix, cmdLoadAll})
        load->setEnabled(false);

    Label1 = Named<QLabel>(c, "Label1", QStringLiteral("PATCH LIBRARY"));
    List1 = Named<LibraryListWidget>(c, "List1", librarian);

    imgPoubelle = Named<QLabel>(c, "imgPoubelle");
    Label3 = Named<QLabel>(c, "Label3", QStringLiteral("Delete Zone"));
    Label3->setAlignment(Qt::AlignCenter);
    Image1 = Named<QLabel>(c, "Image1");
    Image1->setToolTip(QStringLiteral("Drag & Drop Delete Area"));

    cmdMIDI_IN = Named<QPushButton>(c, "cmdMIDI_IN");
    cmdMIDI_IN->setToolTip(QStringLiteral("MIDI IN"));
    cmdMIDI_IN->setEnabled(false);
    cmdMIDI_OUT = Named<QPushButton>(c, "cmdMIDI_OUT");
    cmdMIDI_OUT->setToolTip(QStringLiteral("MIDI OUT"));
    cmdMIDI_OUT->setEnabled(false);
    cmdMatrixUtils = Named<CommandButton>(c, "cmdMatrixUtils", QStringLiteral("Banks &Utils"));
    cmdSearch = Named<CommandButton>(c, "cmdSearch", QStringLiteral("S&earch"));
    cmdSauver = Named<CommandButton>(c, "cmdSauver", QStringLiteral("&Save sysex"));
    lblversion = Named<ClickableLabel>(c, "lblversion", QStringLiteral("---"));
    lblversion->setTextFormat(Qt::PlainText);
    lblversion->setCursor(Qt::PointingHandCursor);
    cmdSize = Named<QPushButton>(c, "cmdSize", QStringLiteral("/"));
    cmdSize->hide();

    FlexGrid1 = Named<QTableView>(c, "FlexGrid1");
    FlexGrid1->setVerticalHeader(new SlotNumberHeader(FlexGrid1));
    gridModel = new MatrixGridModel(librarian, FlexGrid1);
    FlexGrid1->setModel(gridModel);

    Shape1 = Named<QFrame>(c, "Shape1");
    Image2 = Named<QLabel>(c, "Image2");
    lblSysexLib = Named<QLabel>(c, "lblSysexLib", QStringLiteral("- SYSEX LIBRARIAN -"));
    lblSysexLib->setAlignment(Qt::AlignCenter);
    ProgressBar1 = Named<QProgressBar>(c, "ProgressBar1");
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();
    Image3 = Named<ClickableLabel>(c, "Image3");
    Image3->setCursor(Qt::PointingHandCursor);

    // Stacking: the delete zone's drop area over the bin and its caption; the click area over
    // the whole title block.
    Image1->raise();
    Image3->raise();
}

void MainControls::buildMenus(QMainWindow& window) {
    mnuFiles = window.menuBar()->addMenu(QStringLiteral("Files"));
    mnuFiles->setObjectName(QStringLiteral("mnuFiles"));
    mnuSave = mnuFiles->addAction(QStringLiteral("Save sysex"));
    mnuSave->setObjectName(QStringLiteral("mnuSave"));
    mnuBid7 = mnuFiles->addSeparator();
    mnuBid7->setObjectName(QStringLiteral("mnuBid7"));
    mnuQuit = mnuFiles->addAction(QStringLiteral("Quit"));
    mnuQuit->setObjectName(QStringLiteral("mnuQuit"));

    mnuUtils = window.menuBar()->addMenu(QStringLiteral("Utils"));
    mnuUtils->setObjectName(QStringLiteral("mnuUtils"));
    mnuClear = mnuUtils->addAction(QStringLiteral("Clear"));
    mnuClear->setObjectName(QStringLiteral("mnuClear"));

    mnuAsk = window.menuBar()->addMenu(QStringLiteral("?"));
    mnuAsk->setObjectName(QStringLiteral("mnuAsk"));
    mnuAbout = mnuAsk->addAction(QStringLiteral("About"));
    mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
}

void MainControls::buildStatusBar(QMainWindow& window) {
    StatusBar1 = new QStatusBar(&window);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(true);
    window.setStatusBar(StatusBar1);
    const QString texts[4] = {
        QStringLiteral("Kelmo - ZANQ Librarian on the web"),
        QStringLiteral("Patches in library : 0"),
        QStringLiteral("DEEPMIND NOT DETECTED"),
        VersionText(),
    };
    for (int i = 0; i < 4; ++i) {
        auto* panel = new ClickableLabel(texts[i], StatusBar1);
        panel->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i + 1));
        panel->setTextFormat(Qt::PlainText);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setContentsMargins(6, 0, 6, 0);
        StatusBar1->addPermanentWidget(panel, i == 0 ? 3 : (i == 3 ? 1 : 2));
        StatusPanel[static_cast<std::size_t>(i)] = panel;
    }
    StatusPanel[0]->setCursor(Qt::PointingHandCursor);
    StatusPanel[3]->setCursor(Qt::PointingHandCursor);
}

void MainControls::styleControls(double logicalDpi, const MainPictures& pictures) {
    QPalette dark = client->palette();
    dark.setColor(QPalette::Window, kBackground);
    client->setPalette(dark);
    client->setAutoFillBackground(true);

    auto colour = [](QLabel* label, const QColor& c) {
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, c);
        p.setColor(QPalette::Disabled, QPalette::WindowText, c.darker(150));
        label->setPalette(p);
    };
    colour(Label1, Qt::white);
    colour(Label3, Qt::white);
    colour(lblSysexLib, QColor(200, 200, 200));
    colour(lblversion, Qt::red);
    QFont small = Label3->font();
    small.setPointSizeF(7.5);
    Label3->setFont(small);
    lblSysexLib->setFont(small);
    QFont heading = Label1->font();
    heading.setBold(true);
    Label1->setFont(heading);

    QFont listFont(QStringLiteral("Arial"));
    listFont.setStyleHint(QFont::SansSerif);
    listFont.setPointSizeF(11.25);
    List1->setFont(listFont);

    Shape1->setFrameShape(QFrame::Box);
    QPalette frame = Shape1->palette();
    frame.setColor(QPalette::WindowText, QColor(150, 150, 150));
    Shape1->setPalette(frame);

    imgPoubelle->setPixmap(QPixmap::fromImage(pictures.wasteBin));
    imgPoubelle->setAlignment(Qt::AlignCenter);
    const QSize midiIcon = MidiIconSize(logicalDpi);
    cmdMIDI_IN->setIcon(QIcon(QPixmap::fromImage(pictures.midiIn)));
    cmdMIDI_IN->setIconSize(midiIcon);
    cmdMIDI_OUT->setIcon(QIcon(QPixmap::fromImage(pictures.midiOut)));
    cmdMIDI_OUT->setIconSize(midiIcon);
    Image2->setPixmap(QPixmap::fromImage(pictures.title));
    Image2->setAlignment(Qt::AlignCenter);

    FlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FlexGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    FlexGrid1->setWordWrap(false);
    FlexGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    FlexGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    FlexGrid1->horizontalHeader()->setHighlightSections(false);
    FlexGrid1->verticalHeader()->setHighlightSections(false);
}

}  // namespace zanq
