#include "model/LibraryListWidget.h"

#include "model/PatchName.h"

namespace zanq {

namespace {
class LibraryLine : public QListWidgetItem {
public:
    explicit LibraryLine(const QString& text) : QListWidgetItem(text) {}
    bool operator<(const QListWidgetItem& other) const override {
        const int folded = text().compare(other.text(), Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : text() < other.text();
    }
};
}  // namespace

LibraryListWidget::LibraryListWidget(const Librarian& librarian, QWidget* parent)
    : QListWidget(parent) {
    setSortingEnabled(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    const Library& library = librarian.library();
    for (std::size_t i = 1; i < library.size(); ++i)
        entryAdded(library.nameAt(i));
    connect(&librarian, &Librarian::libraryEntryAdded, this,
            [this](std::size_t, const std::string& name) { entryAdded(name); });
    connect(&librarian, &Librarian::libraryEntryRemoved, this,
            [this](std::size_t, const std::string& name) { entryRemoved(name); });
    connect(&librarian, &Librarian::libraryCleared, this, &QListWidget::clear);
}

void LibraryListWidget::entryAdded(const std::string& name) {
    if (!name.empty())
        addItem(new LibraryLine(NameText(name)));
}

void LibraryListWidget::entryRemoved(const std::string& name) {
    QListWidgetItem* line = lineNamed(NameText(name));
    if (!line)
        return;
    const bool wasSelected = line->isSelected();
    delete line;
    // A list box whose selected line goes away is left without a selection.
    if (wasSelected) {
        setCurrentItem(nullptr);
        clearSelection();
    }
}

QListWidgetItem* LibraryListWidget::lineNamed(const QString& name) const {
    const auto matches = findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    return matches.isEmpty() ? nullptr : matches.front();
}

QString LibraryListWidget::selectedName() const {
    const auto selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.front()->text();
}

void LibraryListWidget::SelectLibraryEntry(const QString& name) {
    QListWidgetItem* line = lineNamed(name);
    if (line) {
        setCurrentItem(line);
        line->setSelected(true);
    } else {
        setCurrentRow(-1);
        clearSelection();
    }
}

}  // namespace zanq
