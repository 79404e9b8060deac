#include "model/PatchName.h"

namespace zanq {

QString NameText(std::string_view name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

std::string NameBytes(const QString& text) {
    return text.toLatin1().toStdString();
}

}  // namespace zanq
