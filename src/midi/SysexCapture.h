#pragma once
// The one input buffer: 300 bytes lent to the input port for one exchange, with the count of
// bytes recorded. The port's thread writes, the window's thread reads; a mutex keeps the two
// apart. Bytes that come while the buffer is not lent, and bytes beyond the 300th, are lost.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace zanq {

class SysexCapture {
public:
    static constexpr std::size_t kSize = 300;

    // Empties the buffer and the count, and forgets any finished message.
    void clear();
    // Starts or stops accepting bytes.
    void setAccepting(bool accepting);
    bool accepting() const;

    // Called from the port's thread with one incoming MIDI message or one chunk of a SysEx
    // message. Only SysEx bytes are caught: a chunk starting with F0, or continuing a SysEx
    // whose F7 has not come yet. Other messages are ignored.
    void deliver(std::string_view bytes);

    std::uint32_t bytesRecorded() const;
    // The first bytesRecorded() bytes.
    std::string caught() const;
    // True once a SysEx message has ended with its F7 (or the buffer is full) since clear().
    bool complete() const { return complete_.load(std::memory_order_acquire); }

private:
    mutable std::mutex mutex_;
    char buffer_[kSize] = {};
    std::uint32_t recorded_ = 0;
    bool accepting_ = false;
    bool inSysex_ = false;
    std::atomic<bool> complete_{false};
};

}  // namespace zanq
