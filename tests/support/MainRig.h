#pragma once
// The main window over a Librarian of its own, a scratch (or given) program folder and a
// prompter that answers from a script, with the subsystems a test installs; with MIDI ports
// given, a MIDI link over them and its timer stopped, so that detection runs only when the test
// asks. Also the user's real clicks on the grid and the library list.

#include <QCheckBox>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <vector>

#include "export/InstallExport.h"
#include "export/frmExport.h"
#include "midi/DeepMindDetector.h"
#include "midi/InstallMidi.h"
#include "midi/MidiLink.h"
#include "midi/MidiTransfers.h"
#include "midi/frmBankSend.h"
#include "midi/frmMidiReceive.h"
#include "model/DeepMindDialect.h"
#include "shell/frmMain.h"
#include "support/MainUi.h"
#include "support/Records.h"
#include "support/ScriptedPrompter.h"
#include "sysexfiles/SysexFileCommands.h"

namespace zanq::test {

using Install = void (*)(frmMain&, AppContext&);
// What the MIDI link drives: detection, the bank windows, the double click's fetch and Export.
inline const std::vector<Install> kMidiWindows = {
    [](frmMain& window, AppContext& context) { InstallMidi(window, context); },
    InstallMidiTransfers, InstallExport};

// The names the file list shows, in order.
inline QStringList ListedFiles(const SysexFileCommands& files) {
    QStringList names;
    for (int i = 0; i < files.fileCount(); ++i)
        names << files.fileNameAt(i);
    return names;
}
// Lists the folder again and selects the file of that name (none when it is not listed);
// whether it is listed.
inline bool SelectFile(SysexFileCommands& files, const QString& name) {
    files.RefreshFileList();
    const int row = int(ListedFiles(files).indexOf(name));
    files.selectFile(row);
    return row >= 0;
}

struct MainRig : TestLibrarian {
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<MidiLink> link;
    AppContext context;
    frmMain window;
    MainUi ui{window};

    explicit MainRig(const std::vector<Install>& installs, std::unique_ptr<MidiPorts> ports = {},
                     const QString& folder = {})
        : link(ports ? std::make_unique<MidiLink>(std::move(ports)) : nullptr),
          context{librarian, prompter, folder.isEmpty() ? dir.path() : folder, [](const QUrl&) {},
                  link.get()},
          window(context) {
        if (link)
            ui.Timer1->stop();
        for (Install install : installs)
            install(window, context);
    }

    SysexFileCommands* files() const { return window.findChild<SysexFileCommands*>(); }
    // Clicks the button or triggers the action; the modal T it opened (one closed before may
    // not have gone yet), if any.
    template <typename T>
    T* opens(QObject* control) const {
        QMetaObject::invokeMethod(control, qobject_cast<QAction*>(control) ? "trigger" : "click");
        for (T* opened : window.findChildren<T*>())
            if (opened->isVisible() && opened->isModal())
                return opened;
        return nullptr;
    }
    // Writes a file of these bytes into the program folder; its path.
    QString write(const QString& name, const std::string& bytes) const {
        WriteWholeFile(dir.filePath(name), QByteArray::fromStdString(bytes));
        return dir.filePath(name);
    }
    QStringList listed() const { return ListedFiles(*files()); }
    // Lists the folder again and selects the file of that name.
    void select(const QString& name) const { SelectFile(*files(), name); }
    // Runs detection over the ports as they are now and waits for its result.
    bool detect() {
        auto* detector = window.findChild<DeepMindDetector*>();
        QSignalSpy detected(detector, &DeepMindDetector::detected);
        if (link->listing() && !detected.wait())  // a run under way may have seen older lists
            return false;
        detector->DetectDeepMind();
        return detected.wait();
    }
};

// Ticks these banks in the bank window, clicks its button and waits until the run has ended.
inline bool RunBanks(BankRunDialog* window, QPushButton* start, std::initializer_list<int> banks,
                     int ms = 60000) {
    for (int bank : banks)
        window->chkBank[bank]->setChecked(true);
    start->click();
    return QTest::qWaitFor([start] { return start->isEnabled(); }, ms);
}

// A click on the item, the cell or the line, brought into view first; where it clicked.
inline QPoint ClickIndex(QAbstractItemView* view, const QModelIndex& index) {
    view->scrollTo(index);
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    return at;
}
inline QPoint ClickCell(QTableView* grid, Slot slot) {
    return ClickIndex(grid, grid->model()->index(slot.program.byte(), slot.bank.byte()));
}
inline QPoint ClickLine(QListWidget* list, QListWidgetItem* line) {
    return ClickIndex(list, list->model()->index(list->row(line), 0));
}
inline void DoubleClickCell(QTableView* grid, Slot slot) {
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, ClickCell(grid, slot));
}
inline void DoubleClickLine(QListWidget* list, QListWidgetItem* line) {
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, ClickLine(list, line));
}

}  // namespace zanq::test
