#pragma once
// The Save window: a file name (preset to the date and time) and one choice among the Patch
// Library, one bank, each bank in its own file or all banks in one file. Modal over the main
// window, prepared anew each time it opens, closed only by the user. Below the name it shows
// the folder and the file name(s) a save writes, the typed name made safe. A save writes on a
// worker thread; Save is off until it has finished.

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
class SysexSaveRun;
struct AppContext;

class frmSauver : public QDialog {
    Q_OBJECT
public:
    frmSauver(frmMain& window, AppContext& context, SysexFileCommands& files);

    QGroupBox* frameFileName = nullptr;
    QLineEdit* txtFilename = nullptr;
    QLabel* lblExtension = nullptr;
    QLineEdit* txtSavedAs = nullptr;  // the file name(s) actually written
    QLineEdit* txtFolder = nullptr;
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
    void showTargets();
    void saveEnded(const QString& failedPath, const QString& reason);

    frmMain& window_;
    AppContext& context_;
    SysexFileCommands& files_;
    SysexSaveRun* run_ = nullptr;
    bool saveEnabled_ = false;
};

}  // namespace zanq
