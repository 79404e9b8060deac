#pragma once
// File names given on the command line are bytes, and on Linux they need not be UTF-8. Qt
// decodes arguments as UTF-8 and turns a stray byte into U+FFFD, after which the name no
// longer opens its file. Here a byte that is not part of valid UTF-8 becomes the lone
// surrogate U+DC00 + byte instead, which QString keeps and NativePath() turns back into the
// same byte, so every name a shell can pass opens the file it names.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zanq::cli {

// The arguments after the program's name, decoded as above.
QStringList DecodedArguments(int argc, char** argv);
// The bytes to open for a name taken from DecodedArguments() or typed as text.
QByteArray NativePath(const QString& name);

}  // namespace zanq::cli
