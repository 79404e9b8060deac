#pragma once
// Patch names are bytes; on screen each byte is one character (Latin-1), so a name read back
// from a list line gives the very same bytes. The one place that crosses between the two.

#include <QString>
#include <string>
#include <string_view>

namespace zanq {

QString NameText(std::string_view name);
std::string NameBytes(const QString& text);

}  // namespace zanq
