#include "model/Slot.h"

#include <charconv>

namespace zanq {

std::optional<Bank> Bank::fromLetter(std::string_view letter) {
    if (letter.size() != 1)
        return std::nullopt;
    const char c = letter.front();
    const int upper = (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
    if (upper < 'A' || upper >= 'A' + kCount)
        return std::nullopt;
    return Bank::fromByte(upper - 'A');
}

std::string Program::text() const {
    const int n = number();
    return {static_cast<char>('0' + n / 100), static_cast<char>('0' + n / 10 % 10),
            static_cast<char>('0' + n % 10)};
}

std::string Slot::text() const {
    return std::string(1, bank.letter()) + '-' + program.text();
}

std::string Slot::place() const {
    return "Bank " + text();
}

std::optional<Slot> Slot::parse(std::string_view text) {
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos)
        return std::nullopt;
    const std::optional<Bank> bank = Bank::fromLetter(text.substr(0, dash));
    const std::string_view digits = text.substr(dash + 1);
    if (!bank || digits.empty() || digits.size() > 3)
        return std::nullopt;
    int number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size() ||
        !Program::isValidNumber(number))
        return std::nullopt;
    return Slot{*bank, Program::fromNumber(number)};
}

}  // namespace zanq
