#include "cli/NativeNames.h"

#include <cstring>

namespace zanq::cli {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // U+DC80..U+DCFF stand for the bytes 0x80..0xFF

// The length of the well-formed UTF-8 sequence at text[0], or 0 when it is not one.
int SequenceLength(const unsigned char* text, std::size_t left) {
    const unsigned char lead = text[0];
    if (lead < 0x80)
        return 1;
    int length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF;  // no encoded surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else
        return 0;
    if (left < std::size_t(length) || text[1] < low || text[1] > high)
        return 0;
    for (int i = 2; i < length; ++i)
        if ((text[i] & 0xC0) != 0x80)
            return 0;
    return length;
}

QString Decode(const char* raw) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(raw);
    const std::size_t size = std::strlen(raw);
    QString text;
    for (std::size_t at = 0; at < size;) {
        const int length = SequenceLength(bytes + at, size - at);
        if (length == 0) {
            text += QChar(char16_t(kEscapeBase + bytes[at]));
            ++at;
            continue;
        }
        text += QString::fromUtf8(raw + at, length);
        at += std::size_t(length);
    }
    return text;
}

}  // namespace

QStringList DecodedArguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << Decode(argv[i]);
    return arguments;
}

QByteArray NativePath(const QString& name) {
    QByteArray path;
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        const bool escaped = i < name.size() && name[i].unicode() >= kEscapeBase + 0x80 &&
                             name[i].unicode() <= kEscapeBase + 0xFF;
        if (!escaped && i < name.size())
            continue;
        path += name.mid(plainFrom, i - plainFrom).toUtf8();
        if (escaped)
            path += char(name[i].unicode() - kEscapeBase);
        plainFrom = i + 1;
    }
    return path;
}

}  // namespace zanq::cli
