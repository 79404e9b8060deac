#pragma once
// The update check: fetches the version file in the background and says whether a newer
// release exists. It never blocks the window, never reports a failure and writes no file: the
// last version text it fetched stays in memory, and a failed or late download compares that.

#include <QObject>
#include <QString>
#include <QUrl>

class QLabel;
class QNetworkAccessManager;
class QNetworkReply;

namespace zanq {

struct UpdateSettings {
    QUrl versionUrl;        // empty: no update check at all
    int timeoutMs = 10000;  // a download that moves no byte for this long counts as failed
};

// The version file's address from the build and this process's environment.
UpdateSettings UpdateSettingsFromEnvironment();

// Writes a notice into a version label: the text, enabled when there is one, else empty and
// disabled. Always plain text, so a version file cannot inject markup or links.
void ShowUpdateNotice(QLabel* label, const QString& notice);

class modWeb : public QObject {
    Q_OBJECT
public:
    explicit modWeb(UpdateSettings settings, QObject* parent = nullptr);
    ~modWeb() override;

    // False when there is no address to ask: CheckForUpdate then does nothing.
    bool isEnabled() const { return !settings_.versionUrl.isEmpty(); }

    // Starts one check; `checked` follows when the download has ended one way or another.
    void CheckForUpdate();

    // The notice of the last finished check (empty before the first one ends).
    const QString& notice() const { return notice_; }

signals:
    // After every check: the notice to show, empty when no newer release is known.
    void checked(const QString& notice);

private:
    void DownloadFinished(QNetworkReply* reply);

    UpdateSettings settings_;
    QNetworkAccessManager* network_ = nullptr;
    QString latest_;  // the release named by the last version file fetched
    QString notice_;
};

}  // namespace zanq
