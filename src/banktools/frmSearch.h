#pragma once
// Search: a live search of patch names in the Library and the Matrix, run again on every change
// of the text or of a scope box. A Library hit selects that patch in the main window's list.
// Created when opened and deleted when closed.

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QModelIndex;
class QPushButton;

namespace zanq {

class frmMain;
class SearchResultsModel;
class Librarian;

class frmSearch : public QDialog {
    Q_OBJECT
public:
    frmSearch(frmMain& main, const Librarian& librarian);

    QLabel* Label1 = nullptr;  // "Search string"
    QLineEdit* txtSearch = nullptr;
    QCheckBox* chkLibrary = nullptr;
    QCheckBox* chkMatrix = nullptr;
    QPushButton* cmdSearch = nullptr;  // never shown; its click handler is the search
    QLabel* lblResults = nullptr;
    // The hits live in a model that writes each line only when it is shown: one reset per run
    // keeps typing fluid even with tens of thousands of hits.
    QListView* lstResult = nullptr;
    SearchResultsModel* results = nullptr;

private:
    void txtSearch_Change();
    void chkLibrary_Click();
    void chkMatrix_Click();
    void cmdSearch_Click();
    void lstResult_Click(const QModelIndex& index);

    frmMain& main_;
    const Librarian& librarian_;
};

}  // namespace zanq
