#include "editing/EditingCommands.h"

#include <QFile>

#include "editing/DragSource.h"
#include "model/LibraryListWidget.h"
#include "model/PatchName.h"
#include "shell/frmMain.h"
#include "sysexfiles/SysexFileCommands.h"

namespace zanq {

namespace {
const QString kDeleteTitle = QStringLiteral("WARNING");

QString Place(Slot slot) {
    return QString::fromStdString(slot.place());
}
}  // namespace

EditingCommands::EditingCommands(frmMain& window, AppContext& context)
    : QObject(&window), window_(window), context_(context) {
    setObjectName(QStringLiteral("EditingCommands"));
}

SysexFileCommands* EditingCommands::files() const {
    return window_.findChild<SysexFileCommands*>();
}

QString EditingCommands::nameAt(Slot slot) const {
    const Librarian& librarian = context_.librarian;
    return NameText(librarian.dialect().patchName(librarian.at(slot)));
}

QString EditingCommands::slotInUse(Slot slot) const {
    return QStringLiteral("WARNING ! ") + kCR + kCR + QStringLiteral("The matrix ") + Place(slot) +
           QStringLiteral(" is already in use with patch : ") + nameAt(slot) + kCR + kCR;
}

bool EditingCommands::FlexGrid1_pressed(Slot slot) {
    context_.dragOrigin = slot;
    return !context_.librarian.isEmpty(slot);
}

void EditingCommands::FlexGrid1_dropped(const QString& source, Slot target) {
    if (source == kGridSource) {
        moveGridPatch(target);
    } else if (source == kLibrarySource) {
        copyLibraryPatch(target);
    } else if (source == kFileSource) {
        // Where the file lands plays no part: its records go where their own bytes say.
        SysexFileCommands* browser = files();
        if (browser && browser->hasSelectedFile())
            browser->cmdLoadInMatrix_clicked();
    }
}

void EditingCommands::moveGridPatch(Slot target) {
    const std::optional<Slot> origin = context_.dragOrigin;
    if (!origin || *origin == target)
        return;
    if (!context_.librarian.isEmpty(target)) {
        const QString question =
            slotInUse(target) + QStringLiteral("Do you want to swap these 2 patches ?");
        if (!context_.prompter.askYesNo(&window_, question, kAppTitle, QMessageBox::Warning))
            return;
    }
    context_.librarian.moveOrSwap(*origin, target);
}

void EditingCommands::copyLibraryPatch(Slot target) {
    const QString name = window_.List1->selectedName();
    if (name.isEmpty())
        return;
    if (!context_.librarian.isEmpty(target)) {
        const QString question =
            slotInUse(target) +
            QStringLiteral("Do you want to overwrite it (Patch will be lost) ?");
        if (!context_.prompter.askYesNo(&window_, question, QStringLiteral("Warning"),
                                        QMessageBox::Warning))
            return;
    }
    context_.librarian.copyFromLibrary(NameBytes(name), target);
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
    const std::string name = NameBytes(text);
    const std::optional<PatchRecord> patch = context_.librarian.libraryPatch(name);
    if (!patch)
        return;
    const QString question = QStringLiteral("Do you want to delete this library patch :") + kCR +
                             kCR + NameText(context_.librarian.dialect().patchName(*patch)) +
                             QStringLiteral(" ?");
    if (!context_.prompter.askYesNo(&window_, question, kDeleteTitle, QMessageBox::Warning))
        return;
    context_.librarian.deleteFromLibrary(name);
}

void EditingCommands::deleteMatrixPatch() {
    const std::optional<Slot> origin = context_.dragOrigin;
    if (!origin)
        return;
    const QString question = QStringLiteral("Do you want to delete this matrix patch : ") + kCR +
                             kCR + Place(*origin) + QStringLiteral(": ") + nameAt(*origin) +
                             QStringLiteral(" ?");
    if (!context_.prompter.askYesNo(&window_, question, kDeleteTitle, QMessageBox::Warning))
        return;
    context_.librarian.deleteSlot(*origin);
}

void EditingCommands::deleteFile() {
    SysexFileCommands* browser = files();
    if (!browser || !browser->hasSelectedFile())
        return;
    const QString fileName = browser->selectedFileName();
    const QString question = QStringLiteral("Do you want to delete the file : ") + kCR + kCR +
                             fileName + QStringLiteral(" ?");
    if (!context_.prompter.askYesNoDefaultNo(&window_, question, kDeleteTitle,
                                             QMessageBox::Warning))
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
    if (source != kGridSource || !sendGridPatch || !context_.dragOrigin)
        return;
    sendGridPatch(*context_.dragOrigin);
}

}  // namespace zanq
