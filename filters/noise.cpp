#include "filters/noise.h"

#include <algorithm>
#include <chrono>

#include "filters/frame.h"
#include "platform/error.h"

namespace quorvane {

std::uint32_t RandomSeed = 0;

namespace {

constexpr std::uint32_t Multiplier = 134775813u;

MillisecondClock NoiseClock = MillisecondsSinceMidnightUtc;

// The generator's step s -> multiplier * s + increment, composed with itself:
// lets each row block start where the sequential draws would be.
struct SeedStep {
    std::uint32_t multiplier;
    std::uint32_t increment;

    std::uint32_t operator()(std::uint32_t seed) const { return multiplier * seed + increment; }
    // This step followed by `next`.
    SeedStep Then(const SeedStep& next) const {
        return {next.multiplier * multiplier, next.multiplier * increment + next.increment};
    }
};

SeedStep Draws(std::uint64_t count) {
    SeedStep result{1, 0};
    SeedStep power{Multiplier, 1};
    for (; count != 0; count >>= 1) {
        if (count & 1) result = result.Then(power);
        power = power.Then(power);
    }
    return result;
}

std::uint8_t Noisy(std::uint8_t value, std::uint32_t& seed, std::uint32_t range) {
    seed = seed * Multiplier + 1u;
    const std::uint32_t r = static_cast<std::uint32_t>((std::uint64_t{seed} * range) >> 32);
    const std::int64_t moved = std::int64_t{value} + 2 * std::int64_t{r} - std::int64_t{range};
    return static_cast<std::uint8_t>(std::clamp<std::int64_t>(moved, 0, 255));
}

}  // namespace

std::uint32_t Random(std::uint32_t range) {
    RandomSeed = RandomSeed * Multiplier + 1u;
    return static_cast<std::uint32_t>((std::uint64_t{RandomSeed} * range) >> 32);
}

std::uint32_t MillisecondsSinceMidnightUtc() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    return static_cast<std::uint32_t>(milliseconds % (24 * 60 * 60 * 1000));
}

void SetNoiseClock(MillisecondClock clock) { NoiseClock = clock != nullptr ? clock : MillisecondsSinceMidnightUtc; }

// Each channel moves by its own draw, the draws numbered in pass order over
// the whole selection: the pixels inside the image are rewritten in place,
// each run starting from the seed its first draw would meet, and the draws of
// pixels beyond the image's edges are skipped, as their results would be
// dropped by the write-back.
void AddNoise(std::int32_t n) {
    if (n < 0) throw Error("Noise amplitude must be 0 or more");
    const BusyCursor busy;
    RandomSeed = NoiseClock();
    const InPlaceFrame frame;
    const std::uint32_t range = static_cast<std::uint32_t>(n);
    const std::uint64_t width = static_cast<std::uint64_t>(frame.Inside().width);
    const std::uint64_t height = static_cast<std::uint64_t>(frame.Inside().height);
    const std::uint32_t start = RandomSeed;
    PassOverSelectionInImage(frame, [&](std::uint8_t* pixel, int count, int column, int row) {
        std::uint32_t seed = Draws(3 * (static_cast<std::uint64_t>(row) * width + static_cast<std::uint64_t>(column)))(start);
        for (std::uint8_t* const end = pixel + std::size_t{3} * static_cast<std::size_t>(count); pixel != end;
             pixel += 3) {
            pixel[2] = Noisy(pixel[2], seed, range);
            pixel[1] = Noisy(pixel[1], seed, range);
            pixel[0] = Noisy(pixel[0], seed, range);
        }
    });
    RandomSeed = Draws(3 * width * height)(start);
}

}  // namespace quorvane
