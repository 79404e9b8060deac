#include "sysexfiles/SafeFileName.h"

#include <QFile>

namespace zanq {

namespace {
bool Refused(QChar c) {
    static const QString kRefused = QStringLiteral("/\\:*?\"<>|");
    return c.unicode() < 0x20 || c.unicode() == 0x7F || kRefused.contains(c);
}

int EncodedLength(const QString& name) {
    return static_cast<int>(QFile::encodeName(name).size());
}
}  // namespace

QString SafeFileNamePart(const QString& part) {
    QString safe;
    safe.reserve(part.size());
    for (qsizetype i = 0; i < part.size(); ++i) {
        const QChar c = part.at(i);
        if (c.isHighSurrogate() && i + 1 < part.size() && part.at(i + 1).isLowSurrogate()) {
            safe += c;
            safe += part.at(++i);
        } else if (c.isSurrogate() || Refused(c)) {
            safe += QLatin1Char('_');
        } else {
            safe += c;
        }
    }
    // "." and ".." would name a folder; no file system wants a name of dots only.
    if (!safe.isEmpty() && safe.count(QLatin1Char('.')) == safe.size())
        safe = QStringLiteral("_");
    return safe;
}

QString SafeFileName(const QString& prefix, const QString& part, const QString& suffix) {
    const QString safe = SafeFileNamePart(part);
    int room = kMaxFileNameBytes - EncodedLength(prefix) - EncodedLength(suffix);
    // Keeps whole characters, a surrogate pair being one, while they fit.
    qsizetype keep = 0;
    while (keep < safe.size()) {
        const qsizetype width = safe.at(keep).isHighSurrogate() ? 2 : 1;
        room -= EncodedLength(safe.mid(keep, width));
        if (room < 0)
            break;
        keep += width;
    }
    return prefix + safe.left(keep) + suffix;
}

}  // namespace zanq
