#include "update/modWeb.h"

#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <memory>

#include "update/VersionCheck.h"

namespace zanq {

UpdateSettings UpdateSettingsFromEnvironment() {
    return {VersionFileUrl(), LocalCopyPath()};
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
    QNetworkRequest request(settings_.versionUrl);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    QNetworkReply* reply = network_->get(request);
    // Keep Qt from buffering more than we would ever accept.
    reply->setReadBufferSize(kMaxVersionFileBytes + 1);

    struct Download {
        QByteArray body;
        bool failed = false;
    };
    auto download = std::make_shared<Download>();

    const auto take = [reply, download] {
        download->body.append(reply->read(kMaxVersionFileBytes + 1 - download->body.size()));
        if (download->body.size() > kMaxVersionFileBytes && !download->failed) {
            download->failed = true;  // not a version file: keep the earlier copy
            reply->abort();
        }
    };
    connect(reply, &QNetworkReply::readyRead, reply, take);

    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, reply, [reply, download] {
        download->failed = true;
        reply->abort();
    });
    deadline->start(settings_.timeoutMs);

    connect(reply, &QNetworkReply::finished, this, [this, reply, download, deadline] {
        deadline->stop();
        if (!download->failed && reply->error() == QNetworkReply::NoError) {
            download->body.append(reply->read(kMaxVersionFileBytes + 1 - download->body.size()));
            download->failed = download->body.size() > kMaxVersionFileBytes;
        }
        DownloadFinished(reply, download->body, download->failed);
    });
}

void modWeb::DownloadFinished(QNetworkReply* reply, const QByteArray& body, bool failed) {
    const bool downloaded = !failed && reply->error() == QNetworkReply::NoError;
    reply->deleteLater();
    if (downloaded)
        ReplaceLocalCopy(settings_.localCopyPath, body);
    // Whatever happened to the download, the local copy (new, earlier or none) decides.
    notice_ = UpdateNotice(VersionText(), ReadLocalCopy(settings_.localCopyPath));
    emit checked(notice_);
}

}  // namespace zanq
