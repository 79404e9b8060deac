#pragma once
// What the file list shows of a folder: its .syx files as a file manager would list them.
// Names are kept as the file system's own bytes, so a name that is not valid UTF-8 is still
// listed (shown with a replacement character) and still opens.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <vector>

namespace zanq {

struct SysexFileEntry {
    QByteArray nativeName;  // the name's bytes on disk
    QString name;           // as shown

    bool operator==(const SysexFileEntry&) const = default;
};

// Regular files, and links to regular files, whose name ends in ".syx" in any letter case;
// hidden dot-files, folders, pipes, devices, sockets and broken links are left out. Sorted by
// shown name, letter case ignored.
std::vector<SysexFileEntry> ListSysexFiles(const QString& folder);

// The full path of a listed file in the file system's own bytes.
QByteArray NativePath(const QString& folder, const QByteArray& nativeName);

// The shown form of a name in the file system's bytes.
QString ShownFileName(const QByteArray& nativeName);

// True for a regular file or a link to one.
bool IsRegularFile(const QByteArray& nativePath);

// The .syx files among dropped addresses (a file manager's text/uri-list): local regular files
// whose name ends in ".syx" in any letter case, in the order given.
QStringList DroppedSysexFiles(const QList<QUrl>& urls);

}  // namespace zanq
