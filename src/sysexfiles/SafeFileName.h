#pragma once
// The one rule for file names built from text the program does not control: the name typed in
// the Save window, a patch name read from a foreign file. Such a name can never climb out of
// the folder it is written to, name a folder, or hold a character that some file system
// refuses, and the whole file name fits the 255 bytes a file system allows.

#include <QString>

namespace zanq {

// The longest file name, in bytes of the file system's encoding.
inline constexpr int kMaxFileNameBytes = 255;

// Every "/ \ : * ? \" < > |", control character (NUL included), DEL and broken UTF-16 becomes
// "_"; a part of dots only becomes "_".
QString SafeFileNamePart(const QString& part);

// prefix + the safe part + suffix, the part shortened (by whole characters) when the name would
// be too long. prefix and suffix are the program's own text and are kept whole.
QString SafeFileName(const QString& prefix, const QString& part, const QString& suffix);

}  // namespace zanq
