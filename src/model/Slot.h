#pragma once
// Typed names for a place in the synth's program memory. A Bank is A..H, a Program 1..128;
// each converts explicitly between its one-based number (what users see) and its zero-based
// byte (what travels in SysEx). Nothing else in the program moves bank or program numbers by
// one by hand.

#include <QMetaType>
#include <cassert>
#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace zanq {

class Bank {
public:
    static constexpr int kCount = 8;

    // Bank A; for containers and Qt's variants, which need a default.
    constexpr Bank() = default;

    // 1..8; out-of-range numbers are a programming error (checked in debug builds).
    static constexpr Bank fromNumber(int oneBased) { return Bank(oneBased - 1); }
    // 0..7, as in a record's bank byte.
    static constexpr Bank fromByte(int zeroBased) { return Bank(zeroBased); }
    // "A".."H" (either case); nothing for anything else.
    static std::optional<Bank> fromLetter(std::string_view letter);
    static constexpr bool isValidNumber(int oneBased) {
        return oneBased >= 1 && oneBased <= kCount;
    }

    constexpr int number() const { return byte_ + 1; }
    constexpr int byte() const { return byte_; }
    char letter() const { return static_cast<char>('A' + byte_); }

    constexpr auto operator<=>(const Bank&) const = default;

private:
    constexpr explicit Bank(int byte) : byte_(byte) { assert(byte >= 0 && byte < kCount); }
    int byte_ = 0;
};

class Program {
public:
    static constexpr int kCount = 128;

    // Program 1; for containers and Qt's variants, which need a default.
    constexpr Program() = default;

    static constexpr Program fromNumber(int oneBased) { return Program(oneBased - 1); }
    static constexpr Program fromByte(int zeroBased) { return Program(zeroBased); }
    static constexpr bool isValidNumber(int oneBased) {
        return oneBased >= 1 && oneBased <= kCount;
    }

    constexpr int number() const { return byte_ + 1; }
    constexpr int byte() const { return byte_; }
    // "001".."128".
    std::string text() const;

    constexpr auto operator<=>(const Program&) const = default;

private:
    constexpr explicit Program(int byte) : byte_(byte) { assert(byte >= 0 && byte < kCount); }
    int byte_ = 0;
};

struct Slot {
    Bank bank;
    Program program;

    // "B-003".
    std::string text() const;
    // "Bank B-003": how prompts name a Matrix slot.
    std::string place() const;
    // "B-003" or "b-3"; nothing when malformed or out of range.
    static std::optional<Slot> parse(std::string_view text);
    // Row-major order over the whole memory: A-001 is 0, H-128 is 1023.
    constexpr int index() const { return bank.byte() * Program::kCount + program.byte(); }
    static constexpr Slot fromIndex(int index) {
        return {Bank::fromByte(index / Program::kCount),
                Program::fromByte(index % Program::kCount)};
    }

    constexpr auto operator<=>(const Slot&) const = default;
};

}  // namespace zanq

// For queued signals and QSignalSpy.
Q_DECLARE_METATYPE(zanq::Slot)
Q_DECLARE_METATYPE(zanq::Bank)
