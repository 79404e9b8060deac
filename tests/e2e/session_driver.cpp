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

// A .syx file of count records named name1, name2... from bank's program 0 on, step apart.
void WriteSyx(const QString& path, const std::string& name, int bank, int count, int step) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += QByteArray::fromStdString(test::MakeRecord(
            name + std::to_string(i + 1), bank + i * step / 128, i * step % 128, i));
    test::WriteWholeFile(path, bytes);
}

void Select(SysexFileCommands& files, const QString& name) {
    files.RefreshFileList();
    for (int row = 0; row < files.fileCount(); ++row)
        if (files.fileNameAt(row) == name)
            files.selectFile(row);
}

void Arrange(LibrarianApp& program, test::MessageBoxAnswers& boxes, const QString& folder) {
    WriteSyx(QDir(folder).filePath("evening.syx"), "Evening ", 0, 200, 2);
    WriteSyx(QDir(folder).filePath("pads.syx"), "Pad ", 4, 12, 1);
    frmMain& window = program.window();
    auto& files = *window.findChild<SysexFileCommands*>();
    Select(files, "evening.syx");
    files.cmdLoadPatchListMatrix_clicked();
    Select(files, "pads.syx");
    files.cmdLoadPatchlist_clicked();

    // Drops arrive as the window announces them when a drag ends on its controls.
    boxes.answer(QMessageBox::Yes);  // swap with the filled C-011
    program.context().dragOrigin = test::At("A-1");
    emit window.droppedOnGrid(DragSource::Grid, test::At("C-11"));
    window.selectLibraryEntry("Pad 3");
    emit window.droppedOnGrid(DragSource::Library, test::At("H-128"));
    for (const char* name : {"Pad 2", "Pad 5"}) {
        boxes.answer(QMessageBox::Yes);
        window.selectLibraryEntry(name);
        emit window.droppedOnDeleteZone(DragSource::Library);
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
        Arrange(program, boxes, folder);
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
