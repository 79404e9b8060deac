#pragma once
// The Patch Library list: one line per non-empty library entry, its name, kept in alphabetical
// order (letter case ignored, then exact bytes). Follows the Library through its listener, so
// every addition, removal and clearing shows at once. Lines lead to records by name only.

#include <QListWidget>

#include "model/Library.h"

namespace zanq {

class LibraryListWidget : public QListWidget, public LibraryListener {
    Q_OBJECT
public:
    explicit LibraryListWidget(Library& library, QWidget* parent = nullptr);
    ~LibraryListWidget() override;

    void entryAdded(std::size_t index, const std::string& name) override;
    void entryRemoved(std::size_t index, const std::string& name) override;
    void libraryCleared() override;

    // Text of the selected line; empty when no line is selected.
    QString selectedName() const;
    // Selects the first line whose text equals name exactly; clears the selection otherwise.
    void SelectLibraryEntry(const QString& name);
    QListWidgetItem* lineNamed(const QString& name) const;

    static QString toText(const std::string& name);
    static std::string toName(const QString& text);

private:
    Library& library_;
};

}  // namespace zanq
