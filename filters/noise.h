// The noise filter and its random generator.
#pragma once

#include <cstdint>

namespace quorvane {

// The generator's process-wide seed. Each draw steps it by
// seed := seed * 134775813 + 1 (modulo 2^32).
extern std::uint32_t RandomSeed;

// Steps the seed, then returns the upper 32 bits of the 64-bit product
// seed * range: a value in 0..range - 1.
std::uint32_t Random(std::uint32_t range);

// Where AddNoise takes its seed from: milliseconds since midnight UTC.
using MillisecondClock = std::uint32_t (*)();
std::uint32_t MillisecondsSinceMidnightUtc();
// Replaces the clock (tests fix it to get a known seed); nullptr restores
// the system clock.
void SetNoiseClock(MillisecondClock clock);

// Seeds the generator from the clock, then moves every channel of every
// pixel of the Selection by 2r - n with r drawn in 0..n - 1, three draws per
// pixel (red, green, blue) in pass order, clamped to 0..255. Amplitude 0
// changes nothing; a negative amplitude throws Error.
void AddNoise(std::int32_t n);

}  // namespace quorvane
