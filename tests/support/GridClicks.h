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
#include "midi/MidiTransfers.h"
#include "midi/frmBankSend.h"
#include "midi/frmMidiReceive.h"
#include "midi/modMIDI.h"
#include "shell/frmMain.h"
#include "support/MainUi.h"
#include "support/Records.h"
#include "support/ScriptedPrompter.h"

namespace zanq::test {

// Detection runs only when a test asks: the timer is stopped.
struct WiredMain {
    DeepMindDialect dialect;
    Librarian librarian{dialect};
    ScriptedPrompter prompter;
    modMIDI midi;
    AppContext context;
    frmMain window;

    WiredMain(MidiBackend& ports, const QString& folder)
        : midi(ports, prompter),
          context{librarian, prompter, folder, [](const QUrl&) {}, &midi},
          window(context) {
        test::Ui(window).Timer1->stop();
        InstallEditing(window, context);
        InstallMidi(window, context);
        InstallMidiTransfers(window, context);
        InstallExport(window, context);
        window.show();
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
