#pragma once
// BANKS: copies one Matrix bank over another or exchanges two.
// Created when opened and deleted when closed, so every opening starts from A and B.

#include <QDialog>

#include "model/Slot.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace zanq {

class Librarian;
class frmMain;

class frmSwap : public QDialog {
    Q_OBJECT
public:
    frmSwap(frmMain& main, Librarian& librarian);

    QLabel* Label1 = nullptr;  // "SOURCE"
    QLabel* Label2 = nullptr;  // "DESTINATION"
    QComboBox* cmbSource = nullptr;
    QComboBox* cmbDestination = nullptr;
    QPushButton* cmdSwap = nullptr;
    QPushButton* cmdCopyBank = nullptr;

private:
    void Form_Load();
    void cmbSource_Click();
    void cmbDestination_Click();
    void cmdCopyBank_Click();
    void cmdSwap_Click();
    void RebuildCaptions();
    Bank sourceBank() const;
    Bank destinationBank() const;

    Librarian& librarian_;
};

}  // namespace zanq
