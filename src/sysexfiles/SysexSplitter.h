#pragma once
// Cuts a byte stream at every F7, whatever the size of the chunks it arrives in, and hands on
// each stretch that, with its F7, is exactly one record long. Between chunks it holds at most
// one record's bytes, so memory stays the same whatever the file holds: a file of nothing but
// F7 bytes costs no more than a file of patches.
//
// What counts as a stretch: the bytes before the first F7, between two F7 bytes, or after the
// last F7; a final stretch of the right length counts without its closing F7 too. Whether a
// candidate is really a record (its bank and program bytes) is for the synth's dialect to say.

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace zanq {

class SysexSplitter {
public:
    static constexpr char kEnd = static_cast<char>(0xF7);

    explicit SysexSplitter(std::size_t recordLength) : recordLength_(recordLength) {
        held_.reserve(recordLength);
    }

    // candidate(std::string_view record) runs for every stretch of the right length that this
    // chunk closes, the record ending in its F7.
    template <typename Candidate>
    void feed(std::string_view chunk, Candidate&& candidate) {
        const std::size_t stretchLength = recordLength_ - 1;
        while (!chunk.empty()) {
            // A file of F7 bytes has one at every step: look before calling memchr.
            const void* hit = chunk.front() == kEnd ? chunk.data()
                                                    : std::memchr(chunk.data(), kEnd, chunk.size());
            if (!hit) {
                hold(chunk);
                return;
            }
            const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - chunk.data());
            ++pieces_;
            if (held_.empty() && !overlong_) {
                // The usual case: the whole record lies in this chunk, F7 included.
                if (at == stretchLength)
                    candidate(chunk.substr(0, recordLength_));
            } else {
                hold(chunk.substr(0, at));
                if (!overlong_ && held_.size() == stretchLength) {
                    held_.push_back(kEnd);
                    candidate(std::string_view(held_));
                }
                held_.clear();
                overlong_ = false;
            }
            chunk.remove_prefix(at + 1);
        }
    }

    // The stream has ended: a final stretch of the right length counts without its F7.
    template <typename Candidate>
    void finish(Candidate&& candidate) {
        if (overlong_ || !held_.empty())
            ++pieces_;
        if (!overlong_ && held_.size() == recordLength_ - 1) {
            held_.push_back(kEnd);
            unclosed_ = true;
            candidate(std::string_view(held_));
        }
        held_.clear();
        overlong_ = false;
    }

    // Pieces seen so far: one closed by each F7, and a final one when bytes follow the last F7.
    // What the loader skips is every piece that did not give a record.
    std::size_t pieces() const { return pieces_; }
    // True when the stream ended in a record that lacked its F7 (finish added it).
    bool endedUnclosed() const { return unclosed_; }

private:
    // Keeps the start of a stretch that continues in the next chunk, while it can still be a
    // record; past that only the fact that it is too long is kept.
    void hold(std::string_view bytes) {
        if (overlong_)
            return;
        if (held_.size() + bytes.size() > recordLength_ - 1) {
            overlong_ = true;
            held_.clear();
            return;
        }
        held_.append(bytes);
    }

    std::size_t recordLength_;
    std::string held_;
    bool overlong_ = false;
    std::size_t pieces_ = 0;
    bool unclosed_ = false;
};

}  // namespace zanq
