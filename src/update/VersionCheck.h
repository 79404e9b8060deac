#pragma once
// The pieces of the update check that need no network and no window: where the version file
// lives, where its local copy goes, how the copy is read and how it compares with our version.

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace zanq {

// A version file is a handful of characters; anything longer than this is not one.
inline constexpr qsizetype kMaxVersionFileBytes = 4096;

// "v" + major + "." + minor + "." + revision of this build, e.g. "v0.0.56".
QByteArray VersionText();

// True when `own` sorts before `latest`, byte by byte by character code, with a string sorting
// before any longer string that begins with it. Nothing is trimmed: a trailing line break counts.
bool IsNewerRelease(const QByteArray& own, const QByteArray& latest);

// The notice shown for `latest` ("<latest> is available !"), or empty when it is not newer.
QString UpdateNotice(const QByteArray& own, const QByteArray& latest);

// The folder for the local copy: "tmp" when not empty, else "temp", else `fallback`.
QString TemporaryFolder(const QString& tmp, const QString& temp, const QString& fallback);

// "v.txt" in the temporary folder named by this process's environment.
QString LocalCopyPath();

// The version file's address: the environment's ZANQ_UPDATE_URL when set, else the build's.
QUrl VersionFileUrl();

// The maker's web site, opened by every link.
QUrl SiteUrl();

// The first kMaxVersionFileBytes bytes of the local copy; empty when it cannot be read.
QByteArray ReadLocalCopy(const QString& path);

// Replaces the local copy as a whole; false (and the old copy intact) when it cannot.
bool ReplaceLocalCopy(const QString& path, const QByteArray& content);

}  // namespace zanq
