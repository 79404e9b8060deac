#include "editing/EditingCommands.h"

#include <QFile>

#include "editing/DragSource.h"
#include "editing/Placement.h"
#include "model/LibraryListWidget.h"
#include "shell/frmMain.h"
#include "sysexfiles/SysexFileCommands.h"

namespace zanq {

namespace {
const QString kDeleteTitle = QStringLiteral("WARNING");

QString Text(const std::string& bytes) {
    return LibraryListWidget::toText(bytes);
}

bool IsGridCell(int row, int col) {
    return row >= 1 && row <= kSlots && col >= 1 && col <= kBanks;
}

QString SlotInUse(const Matrix& matrix, int col, int row) {
    return QStringLiteral("WARNING ! ") + kCR + kCR + QStringLiteral("The matrix ") +
           Text(MatrixPlace(col, row)) + QStringLiteral(" is already in use with patch : ") +
           Text(GetPatchName(matrix.at(col, row))) + kCR + kCR;
}
}  // namespace

EditingCommands::EditingCommands(frmMain& window, AppContext& context)
    : QObject(&window), window_(window), context_(context) {
    setObjectName(QStringLiteral("EditingCommands"));
}

SysexFileCommands* EditingCommands::files() const {
    return window_.findChild<SysexFileCommands*>();
}

bool EditingCommands::FlexGrid1_pressed(int row, int col) {
    if (!IsGridCell(row, col))
        return false;
    context_.stores.DragCol = col;
    context_.stores.DragRow = row;
    return !context_.stores.matrix.isEmpty(col, row);
}

void EditingCommands::FlexGrid1_dropped(const QString& source, int row, int col) {
    if (!IsGridCell(row, col))
        return;
    if (source == kGridSource) {
        moveGridPatch(row, col);
    } else if (source == kLibrarySource) {
        copyLibraryPatch(row, col);
    } else if (source == kFileSource) {
        // Where the file lands plays no part: its records go where their own bytes say.
        SysexFileCommands* browser = files();
        if (browser && browser->hasSelectedFile())
            browser->cmdLoadInMatrix_clicked();
    }
}

void EditingCommands::moveGridPatch(int row, int col) {
    PatchStores& stores = context_.stores;
    const int fromCol = stores.DragCol;
    const int fromRow = stores.DragRow;
    if (!IsGridCell(fromRow, fromCol) || (col == fromCol && row == fromRow))
        return;
    if (!stores.matrix.isEmpty(col, row)) {
        const QString question = SlotInUse(stores.matrix, col, row) +
                                 QStringLiteral("Do you want to swap these 2 patches ?");
        if (!context_.prompter.askYesNo(&window_, question, kAppTitle, QMessageBox::Warning))
            return;
    }
    SwapMatrixSlots(stores.matrix, fromCol, fromRow, col, row);
}

void EditingCommands::copyLibraryPatch(int row, int col) {
    const QString name = window_.List1->selectedName();
    if (name.isEmpty())
        return;
    Matrix& matrix = context_.stores.matrix;
    if (!matrix.isEmpty(col, row)) {
        const QString question =
            SlotInUse(matrix, col, row) +
            QStringLiteral("Do you want to overwrite it (Patch will be lost) ?");
        if (!context_.prompter.askYesNo(&window_, question, QStringLiteral("Warning"),
                                        QMessageBox::Warning))
            return;
    }
    const Library& library = context_.stores.library;
    const std::size_t i = library.FindInLibrary(LibraryListWidget::toName(name));
    if (i > 0)
        CopyIntoSlot(matrix, library.entry(i), col, row);
}

void EditingCommands::List1_dropped(const QString& source) {
    // Only files go into the library by dragging; a grid patch never does.
    if (source != kFileSource)
        return;
    SysexFileCommands* browser = files();
    if (browser && browser->hasSelectedFile())
        browser->cmdLoadPatchlist_clicked();
}

void EditingCommands::Image1_dropped(const QString& source) {
    if (source == kLibrarySource) {
        deleteLibraryPatch();
    } else if (source == kGridSource) {
        deleteMatrixPatch();
    } else if (source == kFileSource) {
        deleteFile();
    }
    window_.UpdateLibraryCount();
}

void EditingCommands::deleteLibraryPatch() {
    const QString text = window_.List1->selectedName();
    if (text.isEmpty())
        return;
    const std::string name = LibraryListWidget::toName(text);
    const std::size_t i = context_.stores.library.FindInLibrary(name);
    if (i == 0)
        return;
    const QString question = QStringLiteral("Do you want to delete this library patch :") + kCR +
                             kCR + Text(GetPatchName(context_.stores.library.entry(i))) +
                             QStringLiteral(" ?");
    if (!context_.prompter.askYesNo(&window_, question, kDeleteTitle, QMessageBox::Warning))
        return;
    context_.stores.library.RemoveFromLibrary(name);
}

void EditingCommands::deleteMatrixPatch() {
    PatchStores& stores = context_.stores;
    const int col = stores.DragCol;
    const int row = stores.DragRow;
    if (!IsGridCell(row, col))
        return;
    const QString question = QStringLiteral("Do you want to delete this matrix patch : ") + kCR +
                             kCR + Text(MatrixPlace(col, row)) + QStringLiteral(": ") +
                             Text(GetPatchName(stores.matrix.at(col, row))) + QStringLiteral(" ?");
    if (!context_.prompter.askYesNo(&window_, question, kDeleteTitle, QMessageBox::Warning))
        return;
    stores.matrix.set(col, row, {});
}

void EditingCommands::deleteFile() {
    SysexFileCommands* browser = files();
    if (!browser || !browser->hasSelectedFile())
        return;
    const QString fileName = browser->selectedFileName();
    const QString question = QStringLiteral("Do you want to delete the file : ") + kCR + kCR +
                             fileName + QStringLiteral(" ?");
    if (!context_.prompter.askYesNo(&window_, question, kDeleteTitle, QMessageBox::Warning))
        return;
    QFile file(browser->selectedFilePath());
    if (!file.remove()) {
        // Read-only folder, file in use or already gone: say so once and leave things be.
        context_.prompter.tell(&window_,
                               QStringLiteral("The file ") + fileName +
                                   QStringLiteral(" could not be deleted :") + kCR + kCR +
                                   file.errorString(),
                               kAppTitle, QMessageBox::Warning);
        return;
    }
    browser->RefreshFileList();
}

void EditingCommands::cmdMIDI_OUT_dropped(const QString& source) {
    // Library patches and files are not sent from here; only a grid patch is.
    if (source != kGridSource || !sendGridPatch)
        return;
    const PatchStores& stores = context_.stores;
    if (IsGridCell(stores.DragRow, stores.DragCol))
        sendGridPatch(stores.DragCol, stores.DragRow);
}

}  // namespace zanq
