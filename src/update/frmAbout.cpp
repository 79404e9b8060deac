#include "update/frmAbout.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/Artwork.h"
#include "shell/ClickableLabel.h"
#include "shell/Named.h"

namespace zanq {

namespace {
const QColor kBackground(49, 49, 49);

void Colour(QLabel* label, const QColor& colour) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::Disabled, QPalette::WindowText, colour.darker(150));
    label->setPalette(p);
}

QLabel* Centred(QLabel* label) {
    label->setAlignment(Qt::AlignCenter);
    label->setTextFormat(Qt::PlainText);
    return label;
}
}  // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    QPalette dark = palette();
    dark.setColor(QPalette::Window, kBackground);
    setPalette(dark);
    setAutoFillBackground(true);

    // The title block, framed the way the main window frames it.
    Shape1 = Named<QFrame>(this, "Shape1");
    Shape1->setFrameShape(QFrame::Box);
    QPalette frame = Shape1->palette();
    frame.setColor(QPalette::WindowText, QColor(150, 150, 150));
    Shape1->setPalette(frame);
    Image2 = Named<QLabel>(Shape1, "Image2");
    Image2->setPixmap(artwork::Title({300, 40}, devicePixelRatioF()));
    Image2->setAlignment(Qt::AlignCenter);
    Label4 = Centred(Named<QLabel>(Shape1, "Label4", QStringLiteral("- SYSEX LIBRARIAN -")));
    Colour(Label4, QColor(200, 200, 200));
    auto* title = new QVBoxLayout(Shape1);
    title->setContentsMargins(12, 10, 12, 8);
    title->addWidget(Image2);
    title->addWidget(Label4);

    lblversion = Centred(Named<QLabel>(this, "lblversion", QStringLiteral("version x.y.z")));
    Colour(lblversion, Qt::white);
    lblVersionWeb = Named<ClickableLabel>(this, "lblVersionWeb", QStringLiteral("---"));
    Centred(lblVersionWeb);
    Colour(lblVersionWeb, Qt::red);
    lblVersionWeb->setCursor(Qt::PointingHandCursor);
    Label2 =
        Named<ClickableLabel>(this, "Label2", QStringLiteral("Made by Kelmo - visit the web site"));
    Centred(Label2);
    Colour(Label2, QColor(160, 160, 160));
    Label2->setCursor(Qt::PointingHandCursor);

    cmdOK = Named<QPushButton>(this, "cmdOK", QStringLiteral("OK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_clicked);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->setSpacing(8);
    layout->addWidget(Shape1);
    layout->addSpacing(6);
    layout->addWidget(lblversion);
    layout->addWidget(lblVersionWeb);
    layout->addWidget(Label2);
    layout->addSpacing(6);
    layout->addWidget(cmdOK, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

frmAbout::~frmAbout() = default;

void frmAbout::cmdOK_clicked() {
    close();
}

}  // namespace zanq
