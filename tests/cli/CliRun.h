#pragma once
// Runs the zanq-cli executable (its path is ZANQ_CLI, set by the test target) the way a script
// would, and reads and writes the files it works on.

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <string>

namespace zanq::test {

struct CliResult {
    int status = -1;  // -1: did not finish
    QString out;
    QString err;
};

inline CliResult RunCli(const QStringList& arguments, int timeoutMs = 60000) {
    QProcess process;
    process.start(QStringLiteral(ZANQ_CLI), arguments);
    CliResult result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    if (process.exitStatus() == QProcess::NormalExit)
        result.status = process.exitCode();
    return result;
}

inline bool WriteBytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
               static_cast<qint64>(bytes.size());
}

inline std::string ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "(unreadable)";
    return file.readAll().toStdString();
}

}  // namespace zanq::test
