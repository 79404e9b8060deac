#include "update/modWeb.h"

#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include "update/VersionCheck.h"

namespace zanq {

UpdateSettings UpdateSettingsFromEnvironment() {
    return {VersionFileUrl()};
}

void ShowUpdateNotice(QLabel* label, const QString& notice) {
    if (!label)
        return;
    label->setTextFormat(Qt::PlainText);
    label->setText(notice);
    label->setEnabled(!notice.isEmpty());
}

modWeb::modWeb(UpdateSettings settings, QObject* parent)
    : QObject(parent), settings_(std::move(settings)), network_(new QNetworkAccessManager(this)) {
    setObjectName(QStringLiteral("modWeb"));
}

modWeb::~modWeb() = default;

void modWeb::CheckForUpdate() {
    if (!isEnabled())
        return;
    QNetworkRequest request(settings_.versionUrl);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(settings_.timeoutMs);
    QNetworkReply* reply = network_->get(request);
    // Qt buffers no more than one byte past the limit; a buffer that full is not a version file.
    reply->setReadBufferSize(kMaxVersionFileBytes + 1);
    connect(reply, &QNetworkReply::readyRead, reply, [reply] {
        if (reply->bytesAvailable() > kMaxVersionFileBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { DownloadFinished(reply); });
}

void modWeb::DownloadFinished(QNetworkReply* reply) {
    reply->deleteLater();
    if (reply->error() == QNetworkReply::NoError) {
        const QByteArray body = reply->readAll();
        if (body.size() <= kMaxVersionFileBytes)
            latest_ = LatestRelease(body);
    }
    notice_ = UpdateNotice(VersionText(), latest_);
    emit checked(notice_);
}

}  // namespace zanq
