#pragma once
// Icons for Dir1's folder tree. Dir1 shows folders only, yet its model asks for the icon and
// type of every entry of each folder it reads, on the window's thread; for a file the stock
// answer looks up its MIME type, reading the file when its name says nothing. Files are never
// shown, so they are not looked at.

#include <QAbstractFileIconProvider>

namespace zanq {

class FolderIconProvider : public QAbstractFileIconProvider {
public:
    using QAbstractFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override {
        return info.isDir() ? QAbstractFileIconProvider::icon(info) : QIcon();
    }
    QString type(const QFileInfo& info) const override {
        return info.isDir() ? QAbstractFileIconProvider::type(info) : QString();
    }
};

}  // namespace zanq
