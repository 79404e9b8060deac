#pragma once
// The name of a single-patch file: patch name, "-", bank letter, "-", three-digit number,
// ".syx". The patch name may come from a foreign file, so it goes through SafeFileName first.

#include <QString>

namespace zanq {

// "Warm Pad-C-005.syx" for a patch named Warm Pad sent to bank C, number 005.
QString ExportFileName(const QString& patchName, const QString& bankLetter, const QString& number);

}  // namespace zanq
