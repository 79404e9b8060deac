#pragma once
// Millisecond waits on a 32-bit tick counter. Elapsed time is taken as an unsigned 32-bit
// difference, so a wait across the counter's wrap still ends on time.

#include <cstdint>
#include <functional>

namespace zanq {

// A 32-bit millisecond counter that only moves forward (it wraps after about 49.7 days).
using TickSource = std::function<std::uint32_t()>;

// Milliseconds of a monotonic clock, truncated to 32 bits.
std::uint32_t SteadyTickCount();

// Blocks for at least ms milliseconds, polling the counter without yielding; returns true.
bool WaitMs(std::int32_t ms, const TickSource& ticks = SteadyTickCount);

// Waits until done() is true or ms milliseconds have passed, calling pump() between polls so
// that window events keep running. Returns done()'s last answer.
bool WaitUntil(std::int32_t ms, const std::function<bool()>& done,
               const std::function<void()>& pump, const TickSource& ticks = SteadyTickCount);

}  // namespace zanq
