#pragma once
// Runs the zanq-cli executable (its path is ZANQ_CLI, set by the test target) the way a script
// would, in a working folder, and reads and writes the files it works on as bytes.

#include <QProcess>
#include <string>

#include "support/Records.h"

namespace zanq::test {

struct CliResult {
    int status = -1;  // -1: did not finish
    QString out;
    QString err;
};

inline CliResult RunCli(const QStringList& arguments, const QString& folder = {}) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(ZANQ_CLI), arguments);
    CliResult result;
    if (!process.waitForFinished(60000))
        process.kill();
    else if (process.exitStatus() == QProcess::NormalExit)
        result.status = process.exitCode();
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

inline void WriteBytes(const QString& path, const std::string& bytes) {
    WriteWholeFile(path, QByteArray::fromStdString(bytes));
}
// What the file holds; "(none)" when there is no such file.
inline std::string ReadBytes(const QString& path) {
    return QFile::exists(path) ? ReadWholeFile(path).toStdString() : "(none)";
}

}  // namespace zanq::test
