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

QStringList SearchPatches(const Library& library, const Matrix& matrix, const QString& text,
                          bool inLibrary, bool inMatrix) {
    const PatchNameMatcher matcher(text);
    QStringList lines;
    if (inLibrary) {
        lines.reserve(static_cast<qsizetype>(library.size()));
        for (std::size_t i = 0; i < library.size(); ++i) {
            const std::string name = GetPatchName(library.entry(i));
            if (matcher.matches(name))
                lines.append(kLibraryLinePrefix + NameText(name));
        }
    }
    if (inMatrix) {
        for (int bank = 1; bank <= kBanks; ++bank) {
            const QString prefix =
                QStringLiteral("Mx ") + QString::fromStdString(BankLetter(bank)) + QLatin1Char('-');
            for (int slot = 1; slot <= kSlots; ++slot) {
                const std::string name = GetPatchName(matrix.at(bank, slot));
                if (!matcher.matches(name))
                    continue;
                lines.append(prefix + QString::fromStdString(FormatProgram(slot)) +
                             QStringLiteral(": ") + NameText(name));
            }
        }
    }
    return lines;
}

}  // namespace zanq
