#include "banktools/PatchSearch.h"

#include <algorithm>

namespace zanq {

namespace {
QString NameText(const std::string& name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}
}  // namespace

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

std::vector<PatchHit> FindPatches(const Library& library, const Matrix& matrix, const QString& text,
                                  bool inLibrary, bool inMatrix) {
    const PatchNameMatcher matcher(text);
    std::vector<PatchHit> hits;
    if (inLibrary) {
        hits.reserve(library.size());
        for (std::size_t i = 0; i < library.size(); ++i)
            if (matcher.matches(GetPatchName(library.entry(i))))
                hits.push_back({0, i});
    }
    if (inMatrix) {
        for (int bank = 1; bank <= kBanks; ++bank)
            for (int slot = 1; slot <= kSlots; ++slot)
                if (matcher.matches(GetPatchName(matrix.at(bank, slot))))
                    hits.push_back({bank, static_cast<std::size_t>(slot)});
    }
    return hits;
}

QString ResultLine(const Library& library, const Matrix& matrix, PatchHit hit) {
    if (hit.bank == 0)
        return kLibraryLinePrefix + NameText(GetPatchName(library.entry(hit.place)));
    const int slot = static_cast<int>(hit.place);
    return QStringLiteral("Mx ") + QString::fromStdString(BankLetter(hit.bank)) + QLatin1Char('-') +
           QString::fromStdString(FormatProgram(slot)) + QStringLiteral(": ") +
           NameText(GetPatchName(matrix.at(hit.bank, slot)));
}

QStringList SearchPatches(const Library& library, const Matrix& matrix, const QString& text,
                          bool inLibrary, bool inMatrix) {
    QStringList lines;
    for (const PatchHit& hit : FindPatches(library, matrix, text, inLibrary, inMatrix))
        lines.append(ResultLine(library, matrix, hit));
    return lines;
}

}  // namespace zanq
