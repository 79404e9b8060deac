#pragma once
// Writing test .syx files into a scratch folder.

#include <QDir>
#include <QFile>
#include <string>

namespace zanq::test {

inline QString WriteSyx(const QString& folder, const QString& name, const std::string& bytes) {
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
}

inline std::string ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

}  // namespace zanq::test
