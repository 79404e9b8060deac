#include "midi/modSleep.h"

#include <chrono>
#include <thread>

namespace zanq {

std::uint32_t SteadyTickCount() {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ms);
}

bool WaitMs(std::int32_t ms, const TickSource& ticks) {
    const std::uint32_t start = ticks();
    const auto wanted = static_cast<std::uint32_t>(ms < 0 ? 0 : ms);
    while (static_cast<std::uint32_t>(ticks() - start) < wanted) {
    }
    return true;
}

bool WaitUntil(std::int32_t ms, const std::function<bool()>& done,
               const std::function<void()>& pump, const TickSource& ticks) {
    const std::uint32_t start = ticks();
    const auto wanted = static_cast<std::uint32_t>(ms < 0 ? 0 : ms);
    for (;;) {
        if (done())
            return true;
        if (static_cast<std::uint32_t>(ticks() - start) >= wanted)
            return done();
        if (pump)
            pump();
        // A reply comes in whole JACK or ALSA cycles; a short sleep keeps the poll cheap.
        std::this_thread::sleep_for(std::chrono::microseconds(250));
    }
}

}  // namespace zanq
