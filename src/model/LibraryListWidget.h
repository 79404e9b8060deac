#pragma once
// The Patch Library list: one line per non-empty library entry, its name, kept in alphabetical
// order (letter case ignored, then exact bytes). Follows the Librarian's signals, so every
// addition, removal and clearing shows at once. Lines lead to records by name only.

#include <QListWidget>

#include "model/Librarian.h"

namespace zanq {

class LibraryListWidget : public QListWidget {
    Q_OBJECT
public:
    explicit LibraryListWidget(const Librarian& librarian, QWidget* parent = nullptr);

    // Text of the selected line; empty when no line is selected.
    QString selectedName() const;
    // Selects the first line whose text equals name exactly; clears the selection otherwise.
    void SelectLibraryEntry(const QString& name);
    QListWidgetItem* lineNamed(const QString& name) const;

private:
    void entryAdded(const std::string& name);
    void entryRemoved(const std::string& name);
};

}  // namespace zanq
