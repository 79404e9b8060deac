#pragma once
// The About window: the title picture, the program's version, the update notice and the
// maker's credit line. Created afresh on every opening; the owner fills in the version and
// follows the update check to fill in the notice.

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace zanq {

class ClickableLabel;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);
    ~frmAbout() override;

    QPushButton* cmdOK = nullptr;
    ClickableLabel* lblVersionWeb = nullptr;  // update notice, red; a click opens the site
    ClickableLabel* Label2 = nullptr;         // credit line, grey; a click opens the site
    QLabel* lblversion = nullptr;             // "version x.y.z"
    QLabel* Label4 = nullptr;
    QLabel* Image2 = nullptr;
    QFrame* Shape1 = nullptr;

private:
    void cmdOK_clicked();
};

}  // namespace zanq
