#include "filters/channel_range.h"

#include <algorithm>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quorvane {

void WidenChannelRange(const std::uint8_t* row, int width, std::array<std::uint8_t, 3>& low,
                       std::array<std::uint8_t, 3>& high) {
    // Sixteen pixels are 48 bytes, so byte i of every block belongs to
    // channel i mod 3: the block loop runs on whole vector registers.
    constexpr std::size_t Block = 48;
    std::array<std::uint8_t, Block> blockLow;
    std::array<std::uint8_t, Block> blockHigh;
    for (std::size_t i = 0; i < Block; ++i) {
        blockLow[i] = low[i % 3];
        blockHigh[i] = high[i % 3];
    }
    const std::size_t bytes = std::size_t{3} * static_cast<std::size_t>(width);
    std::size_t offset = 0;
#if defined(__SSE2__)
    // Three 16-byte registers per block: the compiler does not vectorise the
    // plain loop at -O2, and this is the whole cost of measuring the levels.
    __m128i lows[3];
    __m128i highs[3];
    for (int part = 0; part < 3; ++part) {
        lows[part] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(blockLow.data() + 16 * part));
        highs[part] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(blockHigh.data() + 16 * part));
    }
    for (; offset + Block <= bytes; offset += Block)
        for (int part = 0; part < 3; ++part) {
            const __m128i bytes16 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + offset + 16 * part));
            lows[part] = _mm_min_epu8(lows[part], bytes16);
            highs[part] = _mm_max_epu8(highs[part], bytes16);
        }
    for (int part = 0; part < 3; ++part) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(blockLow.data() + 16 * part), lows[part]);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(blockHigh.data() + 16 * part), highs[part]);
    }
#else
    for (; offset + Block <= bytes; offset += Block)
        for (std::size_t i = 0; i < Block; ++i) {
            blockLow[i] = std::min(blockLow[i], row[offset + i]);
            blockHigh[i] = std::max(blockHigh[i], row[offset + i]);
        }
#endif
    for (std::size_t i = 0; offset + i < bytes; ++i) {
        blockLow[i] = std::min(blockLow[i], row[offset + i]);
        blockHigh[i] = std::max(blockHigh[i], row[offset + i]);
    }
    for (std::size_t i = 0; i < Block; ++i) {
        low[i % 3] = std::min(low[i % 3], blockLow[i]);
        high[i % 3] = std::max(high[i % 3], blockHigh[i]);
    }
}

}  // namespace quorvane
