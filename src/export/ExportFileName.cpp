#include "export/ExportFileName.h"

namespace zanq {

QString SafeFileNamePart(const QString& name) {
    static const QString kRefused = QStringLiteral("/\\:*?\"<>|");
    QString safe = name;
    for (QChar& c : safe)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || kRefused.contains(c))
            c = QLatin1Char('_');
    // "." and ".." would name a folder; no file system wants a name of dots only.
    if (!safe.isEmpty() && safe.count(QLatin1Char('.')) == safe.size())
        safe = QStringLiteral("_");
    return safe;
}

QString ExportFileName(const QString& patchName, const QString& bankLetter, const QString& number) {
    return SafeFileNamePart(patchName) + QLatin1Char('-') + bankLetter + QLatin1Char('-') + number +
           QStringLiteral(".syx");
}

}  // namespace zanq
