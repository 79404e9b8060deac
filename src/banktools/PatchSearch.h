#pragma once
// Finding patches by name in the Library and the Matrix. Names are single bytes shown as
// Latin-1; the match is a case-insensitive contiguous substring with Qt's simple case folding,
// the same answer QString::fromLatin1(name).contains(text, Qt::CaseInsensitive) gives, but
// folded through a table so a run over tens of thousands of names stays cheap.

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "model/Librarian.h"

namespace zanq {

class PatchNameMatcher {
public:
    explicit PatchNameMatcher(const QString& text);
    // The empty text matches every non-empty name; the empty name matches nothing.
    bool matches(std::string_view name) const;

private:
    std::array<char16_t, 256> foldedByte_{};
    std::u16string foldedText_;
    bool impossible_ = false;  // the text holds a letter no Latin-1 name can fold to
};

// One hit: a Matrix slot, or (without one) the Library entry at libraryIndex.
struct PatchHit {
    std::optional<Slot> slot;
    std::size_t libraryIndex = 0;
    bool operator==(const PatchHit&) const = default;
};

// Hits in order: Library entries in index order when inLibrary, then Matrix slots bank by bank
// (A..H), slot by slot, when inMatrix.
std::vector<PatchHit> FindPatches(const Librarian& librarian, const QString& text, bool inLibrary,
                                  bool inMatrix);
// "Library : name" or "Mx C-001: name".
QString ResultLine(const Librarian& librarian, const PatchHit& hit);
// The result lines of FindPatches, in its order.
QStringList SearchPatches(const Librarian& librarian, const QString& text, bool inLibrary,
                          bool inMatrix);

inline const QString kLibraryLinePrefix = QStringLiteral("Library : ");

}  // namespace zanq
