#pragma once
// The Save window: a file name (preset to the date and time) and one choice among the Patch
// Library, one bank, each bank in its own file or all banks in one file. Modal over the main
// window, prepared anew each time it opens, closed only by the user.

#include <QDialog>
#include <array>

#include "sysexfiles/SysexSaver.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zanq {

class frmMain;
class SysexFileCommands;
struct AppContext;

class frmSauver : public QDialog {
    Q_OBJECT
public:
    frmSauver(frmMain& window, AppContext& context, SysexFileCommands& files);

    QGroupBox* frameFileName = nullptr;
    QLineEdit* txtFilename = nullptr;
    QLabel* lblExtension = nullptr;
    QGroupBox* frameSelect = nullptr;
    std::array<QRadioButton*, kSaveOptions> Option1{};
    QPushButton* cmdSauve = nullptr;

    // Presets the name, enables what the stores offer and selects the first enabled choice.
    void Prepare(const QDateTime& now);
    // Prepare, then show modally.
    void Open();
    void cmdSauve_clicked();

    int selectedOption() const;

private:
    frmMain& window_;
    AppContext& context_;
    SysexFileCommands& files_;
};

}  // namespace zanq
