#include "editing/EditingCommands.h"

#include "model/PatchName.h"
#include "shell/frmMain.h"

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
    connect(&window, &frmMain::droppedOnGrid, this, &EditingCommands::FlexGrid1_dropped);
    connect(&window, &frmMain::droppedOnDeleteZone, this, &EditingCommands::Image1_dropped);
}

QString EditingCommands::nameAt(Slot slot) const {
    const Librarian& librarian = context_.librarian;
    return NameText(librarian.dialect().patchName(librarian.at(slot)));
}

QString EditingCommands::slotInUse(Slot slot) const {
    return QStringLiteral("WARNING ! ") + kCR + kCR + QStringLiteral("The matrix ") + Place(slot) +
           QStringLiteral(" is already in use with patch : ") + nameAt(slot) + kCR + kCR;
}

void EditingCommands::FlexGrid1_dropped(DragSource source, Slot target) {
    if (source == DragSource::Grid)
        moveGridPatch(target);
    else if (source == DragSource::Library)
        copyLibraryPatch(target);
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
    const QString name = window_.selectedLibraryName();
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

void EditingCommands::Image1_dropped(DragSource source) {
    if (source == DragSource::Library)
        deleteLibraryPatch();
    else if (source == DragSource::Grid)
        deleteMatrixPatch();
}

void EditingCommands::deleteLibraryPatch() {
    const QString text = window_.selectedLibraryName();
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

}  // namespace zanq
