#pragma once
// The name of a single-patch file: patch name, "-", bank letter, "-", three-digit number,
// ".syx". The patch name may come from a foreign file, so it is made safe first: it can never
// name a folder or a character that some file system refuses.

#include <QString>

namespace zanq {

// Every "/ \ : * ? \" < > |" and control byte becomes "_"; a name of dots only becomes "_".
QString SafeFileNamePart(const QString& name);

// "Warm Pad-C-005.syx" for a patch named Warm Pad sent to bank C, number 005.
QString ExportFileName(const QString& patchName, const QString& bankLetter, const QString& number);

}  // namespace zanq
