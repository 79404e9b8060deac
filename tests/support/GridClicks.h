#pragma once
// The main window with editing, the MIDI link, transfers and export installed over given ports,
// the windows and controls those install, and real mouse double clicks on the grid and library
// list, as a user makes them.

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include "editing/InstallEditing.h"
#include "export/InstallExport.h"
#include "export/frmExport.h"
#include "midi/DeepMindDetector.h"
#include "midi/InstallMidi.h"
#include "midi/MidiLink.h"
#include "midi/MidiTransfers.h"
#include "midi/frmBankSend.h"
#include "midi/frmMidiReceive.h"
#include "model/DeepMindDialect.h"
#include "model/Librarian.h"
#include "shell/frmMain.h"
#include "support/MainUi.h"
#include "support/Records.h"
#include "support/ScriptedPrompter.h"

namespace zanq::test {

// The timer is stopped: detection runs at start-up and then only when a test asks.
struct WiredMain {
    DeepMindDialect dialect;
    Librarian librarian{dialect};
    ScriptedPrompter prompter;
    MidiLink link;
    AppContext context;
    frmMain window;
    DeepMindDetector* detector = nullptr;

    WiredMain(std::unique_ptr<MidiPorts> ports, const QString& folder)
        : link(std::move(ports)),
          context{librarian, prompter, folder, [](const QUrl&) {}, &link},
          window(context) {
        test::Ui(window).Timer1->stop();
        InstallEditing(window, context);
        detector = InstallMidi(window, context);
        InstallMidiTransfers(window, context);
        InstallExport(window, context);
        window.show();
    }
    // Runs detection over the ports as they are now and waits for its result.
    bool detect() {
        QSignalSpy detected(detector, &DeepMindDetector::detected);
        if (link.listing() && !detected.wait())  // a run under way may have seen older lists
            return false;
        detector->DetectDeepMind();
        return detected.wait();
    }
};

inline void DoubleClickCell(QTableView* grid, Slot slot) {
    const QModelIndex cell = grid->model()->index(slot.program.byte(), slot.bank.byte());
    grid->scrollTo(cell);
    const QPoint at = grid->visualRect(cell).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

inline void DoubleClickLine(QListWidget* list, QListWidgetItem* line) {
    list->scrollToItem(line);
    const QPoint at = list->visualItemRect(line).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace zanq::test
