#include "update/VersionCheck.h"

#include "BuildConfig.h"

namespace zanq {

QString VersionText() {
    return QStringLiteral("v%1.%2.%3")
        .arg(build::kVersionMajor)
        .arg(build::kVersionMinor)
        .arg(build::kVersionRevision);
}

QString LatestRelease(const QByteArray& versionFile) {
    return QString::fromUtf8(versionFile).trimmed();
}

bool IsNewerRelease(const QString& own, const QString& latest) {
    return QString::compare(own, latest, Qt::CaseSensitive) < 0;
}

QString UpdateNotice(const QString& own, const QString& latest) {
    if (!IsNewerRelease(own, latest))
        return {};
    return latest + QStringLiteral(" is available !");
}

QUrl VersionFileUrl() {
    const QString overridden = qEnvironmentVariable("ZANQ_UPDATE_URL");
    return QUrl(overridden.isEmpty() ? QString::fromUtf8(build::kVersionUrl) : overridden);
}

QUrl SiteUrl() {
    return QUrl(QString::fromUtf8(build::kSiteUrl));
}

}  // namespace zanq
