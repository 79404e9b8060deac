// The program as main() builds it, keeping its session in the data folder that XDG_DATA_HOME
// names, driven through its own window for the session test:
//   session_driver arrange <program folder> <dump>  loads, drags, deletes and undoes through
//       the window, waits for the journal, writes the stores to <dump>, prints "ready" and
//       waits to be killed;
//   session_driver start <program folder> <dump>    starts, answers Yes to any question,
//       writes the stores to <dump> and quits through the window.
// Every message box shown is printed on one line as "box: <text>", then what the stores hold as
// "held: ...".

#include <QApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <cstdio>

#include "DayHarness.h"
#include "editing/DragSource.h"
#include "editing/EditingCommands.h"
#include "model/LibraryListWidget.h"
#include "session/SessionJournal.h"
#include "session/SessionKeeper.h"
#include "shell/LibrarianApp.h"
#include "shell/frmMain.h"
#include "support/Records.h"
#include "sysexfiles/SysexFileCommands.h"

using namespace zanq;

namespace {
// Every slot, then every library entry, each as its bytes.
void Dump(const Librarian& librarian, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QDataStream out(&file);
    const StoreContents contents = librarian.contents();
    for (const PatchRecord& record : contents.matrix)
        out << QByteArray::fromStdString(record);
    out << qint64(contents.library.size());
    for (const PatchRecord& entry : contents.library)
        out << QByteArray::fromStdString(entry);
}

// A record whose patch data runs through every 7-bit value, as SysEx data does.
PatchRecord EveryByte(const std::string& name, int bank, int program) {
    PatchRecord r = test::MakeRecord(name, bank, program);
    for (std::size_t i = 10; i < 265; ++i)
        r[i] = static_cast<char>((i * 5 + static_cast<std::size_t>(bank * 128 + program)) & 0x7F);
    return r;
}

void WriteSyx(const QString& path, const std::vector<PatchRecord>& records) {
    QByteArray bytes;
    for (const PatchRecord& r : records)
        bytes += QByteArray::fromStdString(r);
    test::WriteBytes(path, bytes);
}

void Select(SysexFileCommands& files, const QString& name) {
    files.RefreshFileList();
    for (int row = 0; row < files.fileCount(); ++row)
        if (files.fileNameAt(row) == name)
            files.selectFile(row);
}

void Arrange(frmMain& window, test::MessageBoxAnswers& boxes, const QString& folder) {
    std::vector<PatchRecord> evening, pads;
    for (int b = 0; b < 3; ++b)
        for (int p = 0; p < 128; p += 1 + b)
            evening.push_back(EveryByte("Evening " + std::to_string(b * 128 + p), b, p));
    for (int i = 1; i <= 12; ++i)
        pads.push_back(EveryByte("Pad " + std::to_string(i), 4, i));
    WriteSyx(QDir(folder).filePath("evening.syx"), evening);
    WriteSyx(QDir(folder).filePath("pads.syx"), pads);

    auto& files = *window.findChild<SysexFileCommands*>();
    auto& editing = *window.findChild<EditingCommands*>();
    Select(files, "evening.syx");
    files.cmdLoadPatchListMatrix_clicked();
    Select(files, "pads.syx");
    files.cmdLoadPatchlist_clicked();

    boxes.answer(QMessageBox::Yes);  // swap with the filled C-010
    editing.FlexGrid1_pressed(test::At("A-1"));
    editing.FlexGrid1_dropped(kGridSource, test::At("C-10"));
    window.List1->SelectLibraryEntry("Pad 3");
    editing.FlexGrid1_dropped(kLibrarySource, test::At("H-128"));
    for (const char* name : {"Pad 2", "Pad 5"}) {
        boxes.answer(QMessageBox::Yes);
        window.List1->SelectLibraryEntry(name);
        editing.Image1_dropped(kLibrarySource);
    }
    window.findChild<QAction*>("mnuUndo")->trigger();  // Pad 5 comes back
}
}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 4)
        qFatal("usage: session_driver arrange|start <program folder> <dump>");
    const QString mode = argv[1], folder = argv[2], dump = argv[3];
    test::MessageBoxAnswers boxes;
    boxes.answer(QMessageBox::Yes);  // the question after an unexpected end, if it comes

    LibrarianApp::SetUpApplication(app);
    LibrarianApp program(folder, "ZANQ Session Test");
    program.window().show();
    SessionKeeper& keeper = KeepSession(program.window(), program.context());

    if (mode == "arrange") {
        Arrange(program.window(), boxes, folder);
        keeper.journal().waitForWrites();
    }
    Dump(program.librarian(), dump);
    for (const QString& text : boxes.shown)
        std::printf("box: %s\n", qPrintable(QString(text).replace('\n', ' ')));
    std::printf("held: %d slots, %zu library entries\n",
                program.librarian().matrix().CountMatrixPatches(),
                program.librarian().library().size() - 1);
    if (mode == "arrange")
        std::printf("ready\n");
    std::fflush(stdout);
    if (mode != "arrange")
        QTimer::singleShot(0, &program.window(), &QWidget::close);
    return app.exec();
}
