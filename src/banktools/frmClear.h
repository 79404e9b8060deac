#pragma once
// CLEAR: empties any choice of Matrix banks and the Patch Library after one confirmation, then
// closes whatever the answer. Created when opened and deleted when closed.

#include <QDialog>
#include <array>

class QCheckBox;
class QPushButton;

namespace zanq {

class frmMain;
class Prompter;
class Librarian;

class frmClear : public QDialog {
    Q_OBJECT
public:
    frmClear(frmMain& main, Librarian& librarian, Prompter& prompter);

    // True when at least one of the nine boxes is checked.
    bool CheckOne() const;

    static constexpr int kLibraryBox = 9;
    std::array<QCheckBox*, 10> chkBank{};  // 1..8: banks A..H, 9: the Patch Library
    QPushButton* cmdSelectNothing = nullptr;
    QPushButton* cmdSelectAllBanks = nullptr;
    QPushButton* cmdSelectAllDatas = nullptr;
    QPushButton* cmdClear = nullptr;

private:
    void chkBank_Click(int index);
    void cmdSelectNothing_Click();
    void cmdSelectAllBanks_Click();
    void cmdSelectAllDatas_Click();
    void cmdClear_Click();

    Librarian& librarian_;
    Prompter& prompter_;
};

}  // namespace zanq
