#include "export/ExportFileName.h"

#include "sysexfiles/SafeFileName.h"

namespace zanq {

QString ExportFileName(const QString& patchName, const QString& bankLetter, const QString& number) {
    return SafeFileName(
        {}, patchName,
        QLatin1Char('-') + bankLetter + QLatin1Char('-') + number + QStringLiteral(".syx"));
}

}  // namespace zanq
