#include "update/VersionCheck.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <algorithm>

#include "BuildConfig.h"

namespace zanq {

QByteArray VersionText() {
    return QByteArray("v") + QByteArray::number(build::kVersionMajor) + '.' +
           QByteArray::number(build::kVersionMinor) + '.' +
           QByteArray::number(build::kVersionRevision);
}

bool IsNewerRelease(const QByteArray& own, const QByteArray& latest) {
    // Compare as unsigned bytes so characters above 127 sort after plain ASCII.
    const auto byteLess = [](char a, char b) {
        return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
    };
    return std::lexicographical_compare(own.begin(), own.end(), latest.begin(), latest.end(),
                                        byteLess);
}

QString UpdateNotice(const QByteArray& own, const QByteArray& latest) {
    if (!IsNewerRelease(own, latest))
        return {};
    return QString::fromLatin1(latest) + QStringLiteral(" is available !");
}

QString TemporaryFolder(const QString& tmp, const QString& temp, const QString& fallback) {
    if (!tmp.isEmpty())
        return tmp;
    if (!temp.isEmpty())
        return temp;
    return fallback;
}

QString LocalCopyPath() {
    const QString folder = TemporaryFolder(qEnvironmentVariable("tmp"),
                                           qEnvironmentVariable("temp"), QDir::tempPath());
    return QDir(folder).filePath(QStringLiteral("v.txt"));
}

QUrl VersionFileUrl() {
    const QString overridden = qEnvironmentVariable("ZANQ_UPDATE_URL");
    return QUrl(overridden.isEmpty() ? QString::fromUtf8(build::kVersionUrl) : overridden);
}

QUrl SiteUrl() {
    return QUrl(QString::fromUtf8(build::kSiteUrl));
}

QByteArray ReadLocalCopy(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(kMaxVersionFileBytes);
}

bool ReplaceLocalCopy(const QString& path, const QByteArray& content) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(content) != content.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace zanq
