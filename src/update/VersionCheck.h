#pragma once
// The pieces of the update check that need no network and no window: where the version file
// lives, how its text is read and how it compares with our version.

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace zanq {

// A version file is a handful of characters; anything longer than this is not one.
inline constexpr qsizetype kMaxVersionFileBytes = 4096;

// "v" + major + "." + minor + "." + revision of this build, e.g. "v0.0.56".
QString VersionText();

// The release a version file names: its bytes as UTF-8 (invalid ones replaced), without the
// white space around it, so a file saved with a final line break names the same release.
QString LatestRelease(const QByteArray& versionFile);

// True when `own` sorts before `latest` character by character, by character code, a string
// sorting before any longer string that begins with it ("v0.0.9" is newer than "v0.0.56").
bool IsNewerRelease(const QString& own, const QString& latest);

// The notice shown for `latest` ("<latest> is available !"), or empty when it is not newer.
QString UpdateNotice(const QString& own, const QString& latest);

// The version file's address: the environment's ZANQ_UPDATE_URL when set, else the one the
// build was configured with. Empty when neither names one: there is then no update check.
QUrl VersionFileUrl();

// The maker's web site, opened by every link.
QUrl SiteUrl();

}  // namespace zanq
