#include "banktools/frmClear.h"

#include <QCheckBox>
#include <QPushButton>

#include "banktools/DialogDesign.h"
#include "model/Librarian.h"
#include "shell/Prompter.h"
#include "shell/frmMain.h"

namespace zanq {

frmClear::frmClear(frmMain& main, Librarian& librarian, Prompter& prompter)
    : QDialog(&main), librarian_(librarian), prompter_(prompter) {
    setObjectName(QStringLiteral("frmClear"));
    setWindowTitle(QStringLiteral("CLEAR"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    SetDesignClientSize(*this, 10215, 3315);

    for (int i = 1; i <= kLibraryBox; ++i) {
        const QString caption =
            i == kLibraryBox
                ? QStringLiteral("Patch Library")
                : QStringLiteral("Bank ") + QChar::fromLatin1(Bank::fromNumber(i).letter());
        auto* box = new QCheckBox(caption, this);
        box->setObjectName(QStringLiteral("chkBank%1").arg(i));
        if (i == kLibraryBox)
            PlaceTwips(*box, 480, 1020, 1995, 435);
        else
            PlaceTwips(*box, 480 + 1200 * (i - 1), 300, 1100, 435);
        chkBank[static_cast<std::size_t>(i)] = box;
        connect(box, &QCheckBox::toggled, this, [this, i] { chkBank_Click(i); });
    }

    const auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    cmdSelectNothing = button("cmdSelectNothing", QStringLiteral("Select Nothing"));
    PlaceTwips(*cmdSelectNothing, 420, 1800, 3000, 435);
    cmdSelectAllBanks = button("cmdSelectAllBanks", QStringLiteral("Select All Banks"));
    PlaceTwips(*cmdSelectAllBanks, 3660, 1800, 3000, 435);
    cmdSelectAllDatas = button("cmdSelectAllDatas", QStringLiteral("Select All"));
    PlaceTwips(*cmdSelectAllDatas, 6900, 1800, 3000, 435);
    cmdClear = button("cmdClear", QStringLiteral("CLEAR"));
    PlaceTwips(*cmdClear, 420, 2460, 9495, 615);
    cmdClear->setEnabled(false);

    QWidget* order[] = {chkBank[8],      chkBank[7], chkBank[6],        chkBank[5],
                        chkBank[4],      chkBank[3], chkBank[2],        chkBank[1],
                        chkBank[9],      cmdClear,   cmdSelectAllBanks, cmdSelectAllDatas,
                        cmdSelectNothing};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(cmdSelectNothing, &QPushButton::clicked, this, &frmClear::cmdSelectNothing_Click);
    connect(cmdSelectAllBanks, &QPushButton::clicked, this, &frmClear::cmdSelectAllBanks_Click);
    connect(cmdSelectAllDatas, &QPushButton::clicked, this, &frmClear::cmdSelectAllDatas_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmClear::cmdClear_Click);
}

bool frmClear::CheckOne() const {
    for (int i = 1; i <= kLibraryBox; ++i)
        if (chkBank[static_cast<std::size_t>(i)]->isChecked())
            return true;
    return false;
}

void frmClear::chkBank_Click(int) {
    cmdClear->setEnabled(CheckOne());
}

void frmClear::cmdSelectAllBanks_Click() {
    for (int i = 1; i <= Bank::kCount; ++i)
        chkBank[static_cast<std::size_t>(i)]->setChecked(true);
}

void frmClear::cmdSelectAllDatas_Click() {
    cmdSelectAllBanks_Click();
    chkBank[kLibraryBox]->setChecked(true);
}

void frmClear::cmdSelectNothing_Click() {
    for (int i = 1; i <= kLibraryBox; ++i)
        chkBank[static_cast<std::size_t>(i)]->setChecked(false);
}

void frmClear::cmdClear_Click() {
    if (prompter_.askYesNoDefaultNo(this,
                                    QStringLiteral("Do you want to delete the selected datas ?"),
                                    kAppTitle, QMessageBox::Critical)) {
        std::set<Bank> banks;
        for (int number = 1; number <= Bank::kCount; ++number)
            if (chkBank[static_cast<std::size_t>(number)]->isChecked())
                banks.insert(Bank::fromNumber(number));
        librarian_.clear(banks, chkBank[kLibraryBox]->isChecked());
    }
    close();
}

}  // namespace zanq
