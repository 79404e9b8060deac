#include "SimSynth.h"

#include <cstdio>

namespace sim {

namespace {

std::string SlotText(int bank, int program) {
    char s[16];
    std::snprintf(s, sizeof s, "%c-%03d", 'A' + bank, program + 1);
    return s;
}

}  // namespace

void Say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

std::string SimSynth::reply(long n, int bank, int program) {
    if (o_.fault == Fault::Silent || o_.dropReplies.count(n)) {
        Say("dropped " + SlotText(bank, program));
        return {};
    }
    std::string bytes = memory_.at(bank, program);
    const bool garbled = o_.garbleEvery > 0 && n % o_.garbleEvery == 0;
    if (garbled || o_.fault == Fault::Short)
        bytes.erase(bytes.size() - 2, 1);  // 290 bytes, still ending in F7
    else if (o_.fault == Fault::Long)
        bytes.insert(bytes.size() - 1, 40, '\x01');  // 331 bytes
    else if (o_.fault == Fault::Range)
        bytes[8] = static_cast<char>(kBanks);
    else if (o_.fault == Fault::OtherSlot)
        bytes = memory_.at(bank, (program + 1) % kPrograms);
    if (garbled)
        Say("garbled " + SlotText(bank, program));
    return bytes;
}

bool SimSynth::handle(const std::string& msg) {
    if (auto request = SimMemory::ParseRequest(msg)) {
        const auto [bank, program] = *request;
        ++requests_;
        const bool inRange = bank < kBanks && program < kPrograms;
        Say("request " + (inRange ? SlotText(bank, program) : "?"));
        if (o_.vanishAfter >= 0 && requests_ > o_.vanishAfter)
            return false;
        if (!inRange)
            return true;
        std::string bytes = reply(requests_, bank, program);
        if (bytes.empty())
            return true;
        const int delay = o_.fault == Fault::Late ? o_.lateMs : o_.latencyMs;
        replies_.push_back({Clock::now() + std::chrono::milliseconds(delay), std::move(bytes)});
        return true;
    }
    if (!SimMemory::IsDump(msg)) {
        Say("ignored " + std::to_string(msg.size()) + " bytes");
        return true;
    }
    if (o_.refuseDumps.count(++dumps_)) {
        Say("refused " + SlotText(msg[8], msg[9]));
        return true;
    }
    memory_.store(msg);
    Say("stored " + SlotText(msg[8], msg[9]));
    return o_.vanishAfterDumps < 0 || ++stored_ < o_.vanishAfterDumps;
}

std::optional<Clock::time_point> SimSynth::flush(SimJack& jack) {
    while (!replies_.empty() && replies_.front().due <= Clock::now()) {
        if (!jack.put(replies_.front().bytes))
            return Clock::now() + std::chrono::milliseconds(1);
        replies_.pop_front();
    }
    if (replies_.empty())
        return std::nullopt;
    return replies_.front().due;
}

}  // namespace sim
