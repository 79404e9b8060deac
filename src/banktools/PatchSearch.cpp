#include "banktools/PatchSearch.h"

#include <algorithm>

#include "model/PatchName.h"

namespace zanq {

PatchNameMatcher::PatchNameMatcher(const QString& text) {
    for (int b = 0; b < 256; ++b)
        foldedByte_[static_cast<std::size_t>(b)] = QChar(b).toCaseFolded().unicode();
    foldedText_.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) {
        const char16_t folded = c.toCaseFolded().unicode();
        if (std::find(foldedByte_.begin(), foldedByte_.end(), folded) == foldedByte_.end())
            impossible_ = true;
        foldedText_.push_back(folded);
    }
}

bool PatchNameMatcher::matches(std::string_view name) const {
    if (name.empty() || impossible_)
        return false;
    const std::size_t n = foldedText_.size();
    if (n > name.size())
        return false;
    for (std::size_t start = 0; start + n <= name.size(); ++start) {
        std::size_t i = 0;
        while (i < n && foldedByte_[static_cast<unsigned char>(name[start + i])] == foldedText_[i])
            ++i;
        if (i == n)
            return true;
    }
    return false;
}

std::vector<PatchHit> FindPatches(const Librarian& librarian, const QString& text, bool inLibrary,
                                  bool inMatrix) {
    const PatchNameMatcher matcher(text);
    const SynthDialect& dialect = librarian.dialect();
    std::vector<PatchHit> hits;
    if (inLibrary) {
        const Library& library = librarian.library();
        hits.reserve(library.size());
        for (std::size_t i = 0; i < library.size(); ++i)
            if (matcher.matches(library.nameAt(i)))
                hits.push_back({std::nullopt, i});
    }
    if (inMatrix) {
        for (int index = 0; index < Bank::kCount * Program::kCount; ++index) {
            const Slot slot = Slot::fromIndex(index);
            if (matcher.matches(dialect.patchName(librarian.at(slot))))
                hits.push_back({slot, 0});
        }
    }
    return hits;
}

QString ResultLine(const Librarian& librarian, const PatchHit& hit) {
    if (!hit.slot)
        return kLibraryLinePrefix + NameText(librarian.library().nameAt(hit.libraryIndex));
    return QStringLiteral("Mx ") + QString::fromStdString(hit.slot->text()) + QStringLiteral(": ") +
           NameText(librarian.dialect().patchName(librarian.at(*hit.slot)));
}

QStringList SearchPatches(const Librarian& librarian, const QString& text, bool inLibrary,
                          bool inMatrix) {
    QStringList lines;
    for (const PatchHit& hit : FindPatches(librarian, text, inLibrary, inMatrix))
        lines.append(ResultLine(librarian, hit));
    return lines;
}

}  // namespace zanq
