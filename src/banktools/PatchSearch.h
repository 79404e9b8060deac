#pragma once
// Finding patches by name in the Library and the Matrix. Names are single bytes shown as
// Latin-1; the match is a case-insensitive contiguous substring with Qt's simple case folding,
// the same answer QString::fromLatin1(name).contains(text, Qt::CaseInsensitive) gives, but
// folded through a table so a run over tens of thousands of names stays cheap.

#include <QString>
#include <QStringList>
#include <array>
#include <string_view>

#include "model/Library.h"
#include "model/Matrix.h"

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

// Result lines in order: "Library : name" in Library index order when inLibrary, then
// "Mx C-001: name" bank by bank (A..H), slot by slot, when inMatrix.
QStringList SearchPatches(const Library& library, const Matrix& matrix, const QString& text,
                          bool inLibrary, bool inMatrix);

inline const QString kLibraryLinePrefix = QStringLiteral("Library : ");

}  // namespace zanq
