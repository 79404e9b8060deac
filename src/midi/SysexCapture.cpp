#include "midi/SysexCapture.h"

#include <algorithm>
#include <cstring>

namespace zanq {

void SysexCapture::clear() {
    std::lock_guard lock(mutex_);
    std::memset(buffer_, 0, sizeof buffer_);
    recorded_ = 0;
    inSysex_ = false;
    complete_.store(false, std::memory_order_release);
}

void SysexCapture::setAccepting(bool accepting) {
    std::lock_guard lock(mutex_);
    accepting_ = accepting;
    if (!accepting)
        inSysex_ = false;
}

bool SysexCapture::accepting() const {
    std::lock_guard lock(mutex_);
    return accepting_;
}

void SysexCapture::deliver(std::string_view bytes) {
    if (bytes.empty())
        return;
    std::lock_guard lock(mutex_);
    if (!accepting_)
        return;
    const auto first = static_cast<unsigned char>(bytes.front());
    if (first == 0xF0)
        inSysex_ = true;
    else if (!inSysex_ || (first >= 0x80 && first != 0xF7))
        return;  // a channel or system message, not part of a SysEx
    const std::size_t room = kSize - recorded_;
    const std::size_t n = std::min(room, bytes.size());
    std::memcpy(buffer_ + recorded_, bytes.data(), n);
    recorded_ += static_cast<std::uint32_t>(n);
    if (static_cast<unsigned char>(bytes.back()) == 0xF7)
        inSysex_ = false;
    if (!inSysex_ || recorded_ == kSize)
        complete_.store(true, std::memory_order_release);
}

std::uint32_t SysexCapture::bytesRecorded() const {
    std::lock_guard lock(mutex_);
    return recorded_;
}

std::string SysexCapture::caught() const {
    std::lock_guard lock(mutex_);
    return std::string(buffer_, recorded_);
}

}  // namespace zanq
