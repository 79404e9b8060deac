#include "sysexfiles/SysexFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <QFile>
#include <algorithm>

namespace zanq {

namespace {
bool HasSyxSuffix(const QByteArray& name) {
    return name.size() > 4 && name.right(4).toLower() == ".syx";
}

bool IsRegular(int dirFd, const char* path) {
    // Follows links: a link counts as what it points to, a broken link as nothing.
    struct stat info {};
    return ::fstatat(dirFd, path, &info, 0) == 0 && S_ISREG(info.st_mode);
}
}  // namespace

QString ShownFileName(const QByteArray& nativeName) {
    // Invalid UTF-8 decodes to U+FFFD; the bytes themselves stay in the entry for opening.
    return QString::fromUtf8(nativeName);
}

QByteArray NativePath(const QString& folder, const QByteArray& nativeName) {
    QByteArray path = QFile::encodeName(folder);
    if (!path.endsWith('/'))
        path += '/';
    return path + nativeName;
}

bool IsRegularFile(const QByteArray& nativePath) {
    return IsRegular(AT_FDCWD, nativePath.constData());
}

QStringList DroppedSysexFiles(const QList<QUrl>& urls) {
    QStringList paths;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        const QByteArray native = QFile::encodeName(path);
        if (HasSyxSuffix(native.mid(native.lastIndexOf('/') + 1)) && IsRegularFile(native))
            paths.append(path);
    }
    return paths;
}

std::vector<SysexFileEntry> ListSysexFiles(const QString& folder) {
    std::vector<SysexFileEntry> entries;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return entries;
    const int dirFd = ::dirfd(dir);
    while (const dirent* item = ::readdir(dir)) {
        const QByteArray name(item->d_name);
        if (name.startsWith('.') || !HasSyxSuffix(name))
            continue;
        if (!IsRegular(dirFd, item->d_name))
            continue;
        entries.push_back({name, ShownFileName(name)});
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const SysexFileEntry& a, const SysexFileEntry& b) {
        const int folded = a.name.compare(b.name, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a.nativeName < b.nativeName;
    });
    return entries;
}

}  // namespace zanq
