#pragma once
// The update check: fetches the version file in the background, keeps a local copy and says
// whether a newer release exists. It never blocks the window and never reports a failure;
// a failed or late download just leaves the previous local copy to compare.

#include <QObject>
#include <QString>
#include <QUrl>

class QLabel;
class QNetworkAccessManager;
class QNetworkReply;

namespace zanq {

struct UpdateSettings {
    QUrl versionUrl;
    QString localCopyPath;
    int timeoutMs = 10000;  // a download still running after this counts as failed
};

// Version file address and local copy from the build and this process's environment.
UpdateSettings UpdateSettingsFromEnvironment();

// Writes a notice into a version label: the text, enabled when there is one, else empty and
// disabled. Always plain text, so a version file cannot inject markup or links.
void ShowUpdateNotice(QLabel* label, const QString& notice);

class modWeb : public QObject {
    Q_OBJECT
public:
    explicit modWeb(UpdateSettings settings, QObject* parent = nullptr);
    ~modWeb() override;

    // Starts one check; `checked` follows when the download has ended one way or another.
    void CheckForUpdate();

    // The notice of the last finished check (empty before the first one ends).
    const QString& notice() const { return notice_; }
    const UpdateSettings& settings() const { return settings_; }

signals:
    // After every check: the notice to show, empty when no newer release is known.
    void checked(const QString& notice);

private:
    void DownloadFinished(QNetworkReply* reply, const QByteArray& body, bool failed);

    UpdateSettings settings_;
    QNetworkAccessManager* network_ = nullptr;
    QString notice_;
};

}  // namespace zanq
