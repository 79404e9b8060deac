#include "model/LibraryListWidget.h"

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

LibraryListWidget::LibraryListWidget(Library& library, QWidget* parent)
    : QListWidget(parent), library_(library) {
    setSortingEnabled(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    library_.setListener(this);
}

LibraryListWidget::~LibraryListWidget() {
    library_.setListener(nullptr);
}

QString LibraryListWidget::toText(const std::string& name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

std::string LibraryListWidget::toName(const QString& text) {
    return text.toLatin1().toStdString();
}

void LibraryListWidget::entryAdded(std::size_t, const std::string& name) {
    if (name.empty())
        return;
    addItem(new LibraryLine(toText(name)));
}

void LibraryListWidget::entryRemoved(std::size_t, const std::string& name) {
    QListWidgetItem* line = lineNamed(toText(name));
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

void LibraryListWidget::libraryCleared() {
    clear();
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
