#include "shell/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace zanq {

QString DefaultProgramFolder() {
    QString folder = qEnvironmentVariable("ZANQ_PROGRAM_FOLDER");
    if (folder.isEmpty()) {
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (!documents.isEmpty())
            folder = QDir(documents).filePath(QStringLiteral("ZANQ Librarian"));
    }
    if (folder.isEmpty() || !QDir().mkpath(folder))
        folder = QCoreApplication::applicationDirPath();
    return QDir::cleanPath(folder);
}

}  // namespace zanq
