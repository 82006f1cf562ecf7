// Four 24-bit pixels (twelve bytes) moved as a 64-bit and a 32-bit word: the
// row kernels of mirroring and reflection work on these.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace quorvane {

static_assert(std::endian::native == std::endian::little, "the four-pixel groups assume little-endian words");

struct FourPixels {
    std::uint64_t low;
    std::uint32_t high;
};

inline FourPixels LoadFour(const std::uint8_t* at) {
    FourPixels four;
    std::memcpy(&four.low, at, 8);
    std::memcpy(&four.high, at + 8, 4);
    return four;
}

inline void StoreFour(std::uint8_t* at, const FourPixels& four) {
    std::memcpy(at, &four.low, 8);
    std::memcpy(at + 8, &four.high, 4);
}

// The same four pixels in reverse order.
inline FourPixels Reversed(const FourPixels& four) {
    constexpr std::uint64_t Pixel = 0xFFFFFF;
    const std::uint64_t first = four.low & Pixel;
    const std::uint64_t second = (four.low >> 24) & Pixel;
    const std::uint64_t third = ((four.low >> 48) | std::uint64_t{four.high} << 16) & Pixel;
    const std::uint64_t fourth = four.high >> 8;
    return {fourth | third << 24 | second << 48, static_cast<std::uint32_t>(second >> 16 | first << 8)};
}

}  // namespace quorvane
