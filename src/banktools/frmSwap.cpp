#include "banktools/frmSwap.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "banktools/DialogDesign.h"
#include "model/Librarian.h"
#include "shell/frmMain.h"

namespace zanq {

frmSwap::frmSwap(frmMain& main, Librarian& librarian) : QDialog(&main), librarian_(librarian) {
    setObjectName(QStringLiteral("frmSwap"));
    setWindowTitle(QStringLiteral("BANKS"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    SetDesignClientSize(*this, 3915, 2580);

    Label1 = new QLabel(QStringLiteral("SOURCE"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    PlaceTwips(*Label1, 240, 300, 1335, 195);
    Label2 = new QLabel(QStringLiteral("DESTINATION"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    PlaceTwips(*Label2, 2340, 300, 1335, 195);

    cmbSource = new QComboBox(this);
    cmbSource->setObjectName(QStringLiteral("cmbSource"));
    cmbDestination = new QComboBox(this);
    cmbDestination->setObjectName(QStringLiteral("cmbDestination"));
    // A drop-down list's height is its own: the design gives only its left, top and width.
    PlaceTwips(*cmbSource, 240, 600, 1635, 0);
    PlaceTwips(*cmbDestination, 2040, 600, 1695, 0);
    for (QComboBox* list : {cmbSource, cmbDestination})
        list->setFixedHeight(list->sizeHint().height());

    cmdSwap = new QPushButton(QStringLiteral("Swap A and B"), this);
    cmdSwap->setObjectName(QStringLiteral("cmdSwap"));
    PlaceTwips(*cmdSwap, 240, 1260, 3435, 555);
    cmdCopyBank = new QPushButton(QStringLiteral("Copy A to B"), this);
    cmdCopyBank->setObjectName(QStringLiteral("cmdCopyBank"));
    PlaceTwips(*cmdCopyBank, 240, 1860, 3435, 615);
    for (QPushButton* button : {cmdSwap, cmdCopyBank})
        button->setAutoDefault(false);

    setTabOrder(cmbSource, cmbDestination);
    setTabOrder(cmbDestination, cmdSwap);
    setTabOrder(cmdSwap, cmdCopyBank);

    connect(cmbSource, &QComboBox::currentIndexChanged, this, &frmSwap::cmbSource_Click);
    connect(cmbDestination, &QComboBox::currentIndexChanged, this, &frmSwap::cmbDestination_Click);
    connect(cmdCopyBank, &QPushButton::clicked, this, &frmSwap::cmdCopyBank_Click);
    connect(cmdSwap, &QPushButton::clicked, this, &frmSwap::cmdSwap_Click);
    Form_Load();
}

void frmSwap::Form_Load() {
    cmbSource->clear();
    cmbDestination->clear();
    for (QComboBox* list : {cmbSource, cmbDestination})
        for (int b = 0; b < Bank::kCount; ++b)
            list->addItem(QStringLiteral("Bank ") + QChar::fromLatin1(Bank::fromByte(b).letter()));
    cmbSource->setCurrentIndex(0);
    cmbDestination->setCurrentIndex(1);
    RebuildCaptions();
}

void frmSwap::cmbSource_Click() {
    RebuildCaptions();
}

void frmSwap::cmbDestination_Click() {
    RebuildCaptions();
}

void frmSwap::RebuildCaptions() {
    const auto letter = [](const QComboBox* list) {
        return list->currentText().mid(QStringLiteral("Bank ").size());
    };
    const QString s = letter(cmbSource);
    const QString d = letter(cmbDestination);
    cmdCopyBank->setText(QStringLiteral("Copy ") + s + QStringLiteral(" to ") + d);
    cmdSwap->setText(QStringLiteral("Swap ") + s + QStringLiteral(" and ") + d);
}

Bank frmSwap::sourceBank() const {
    return Bank::fromByte(cmbSource->currentIndex());
}

Bank frmSwap::destinationBank() const {
    return Bank::fromByte(cmbDestination->currentIndex());
}

void frmSwap::cmdCopyBank_Click() {
    librarian_.copyBank(sourceBank(), destinationBank());
}

void frmSwap::cmdSwap_Click() {
    librarian_.swapBanks(sourceBank(), destinationBank());
}

}  // namespace zanq
