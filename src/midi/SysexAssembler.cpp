#include "midi/SysexAssembler.h"

#include <algorithm>

namespace zanq {

namespace {
constexpr unsigned char kSysexStart = 0xF0;
constexpr unsigned char kSysexEnd = 0xF7;
constexpr unsigned char kFirstStatus = 0x80;
}  // namespace

void SysexAssembler::reset() {
    bytes_.clear();
    inSysex_ = false;
    complete_ = false;
}

bool SysexAssembler::add(std::string_view piece) {
    if (complete_ || piece.empty())
        return false;
    const auto first = static_cast<unsigned char>(piece.front());
    if (first == kSysexStart)
        inSysex_ = true;
    else if (!inSysex_ || (first >= kFirstStatus && first != kSysexEnd))
        return false;  // a message of its own, not a piece of the SysEx
    const std::size_t n = std::min(kLimit - bytes_.size(), piece.size());
    bytes_.append(piece.substr(0, n));
    complete_ = static_cast<unsigned char>(piece.back()) == kSysexEnd || bytes_.size() == kLimit;
    return complete_;
}

}  // namespace zanq
