#include "bench/photo.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace quorvane {
namespace {

// Slow waves across one axis, as light falls over a scene.
std::vector<int> Waves(int length, double first, double second, int amplitude) {
    std::vector<int> values(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / std::max(1, length);
        values[static_cast<std::size_t>(i)] =
            static_cast<int>(amplitude * (std::sin(t * first) + 0.5 * std::sin(t * second + 1.3)));
    }
    return values;
}

struct Disc {
    int x;
    int y;
    int radius;
    int red;
    int green;
    int blue;
};

std::uint8_t Clamp(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

// Detail a few pixels across, as grass or gravel gives: a hash of 2 x 2 cells.
int Texture(int x, int y) {
    std::uint32_t hash = static_cast<std::uint32_t>(x / 2) * 73856093u ^ static_cast<std::uint32_t>(y / 2) * 19349663u;
    hash ^= hash >> 13;
    hash *= 0x5bd1e995u;
    hash ^= hash >> 15;
    return static_cast<int>(hash % 81) - 40;
}

}  // namespace

Bitmap MakePhoto(int width, int height) {
    Bitmap image(width, height);
    const std::vector<int> across = Waves(width, 7.0, 23.0, 40);
    const std::vector<int> down = Waves(height, 5.0, 17.0, 35);
    const int scale = std::max(1, std::min(width, height));
    const Disc discs[] = {
        {width / 4, height / 3, scale / 5, 200, 60, 40},
        {width * 2 / 3, height / 2, scale / 4, 40, 90, 170},
        {width / 2, height * 4 / 5, scale / 8, 230, 220, 90},
    };
    std::uint32_t noise = 2463534242u;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image.ScanLine(y);
        const int sky = 60 + 120 * y / std::max(1, height);
        const bool ground = y > height / 2;
        for (int x = 0; x < width; ++x) {
            int red = sky + across[static_cast<std::size_t>(x)] + down[static_cast<std::size_t>(y)];
            int green = 90 + across[static_cast<std::size_t>(x)] / 2 + 80 * x / std::max(1, width);
            int blue = 200 - sky / 2 + down[static_cast<std::size_t>(y)];
            for (const Disc& disc : discs) {
                const std::int64_t dx = x - disc.x;
                const std::int64_t dy = y - disc.y;
                if (dx * dx + dy * dy < std::int64_t{disc.radius} * disc.radius) {
                    red = disc.red + static_cast<int>(dx * 30 / std::max(1, disc.radius));
                    green = disc.green + static_cast<int>(dy * 30 / std::max(1, disc.radius));
                    blue = disc.blue;
                }
            }
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            const int grain = static_cast<int>(noise % 13) - 6 + (ground ? Texture(x, y) : 0);
            row[3 * x] = Clamp(blue + grain);
            row[3 * x + 1] = Clamp(green + grain);
            row[3 * x + 2] = Clamp(red + grain);
        }
    }
    return image;
}

const Bitmap& Photo() {
    static const Bitmap photo = MakePhoto(PhotoWidth, PhotoHeight);
    return photo;
}

}  // namespace quorvane
