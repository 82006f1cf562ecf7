#include "filters/statistics.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "app/document.h"
#include "filters/channel_range.h"
#include "filters/frame.h"
#include "filters/parallel_rows.h"
#include "platform/error.h"
#include "platform/services.h"

namespace quorvane {

bool ImageStatistics::Optimized() const {
    return minimum[0] + minimum[1] + minimum[2] == 0 && maximum[0] + maximum[1] + maximum[2] == 765;
}

ImageStatistics MeasureImage() {
    const BusyCursor busy;
    ImageStatistics statistics;
    statistics.width = ImageBitmap.Width();
    statistics.height = ImageBitmap.Height();
    if (ImageBitmap.Empty()) throw Error("Invalid floating point operation");
    const int width = statistics.width;
    std::mutex merge;
    ForRowBlocks(statistics.height, width, [&](int firstRow, int endRow) {
        std::array<std::uint8_t, 3> low{255, 255, 255};  // blue, green, red
        std::array<std::uint8_t, 3> high{0, 0, 0};
        std::int64_t sum = 0;
        for (int y = firstRow; y < endRow; ++y) {
            const std::uint8_t* row = ImageBitmap.ScanLine(y);
            std::uint64_t rowSum = 0;
            WidenChannelRange(row, width, low, high);
            for (const std::uint8_t* pixel = row; pixel != row + 3 * width; pixel += 3)
                rowSum += Luminance(pixel);
            sum += static_cast<std::int64_t>(rowSum);
        }
        const std::lock_guard lock(merge);
        for (int c = 0; c < 3; ++c) {
            statistics.minimum[2 - c] = std::min(statistics.minimum[2 - c], low[c]);
            statistics.maximum[2 - c] = std::max(statistics.maximum[2 - c], high[c]);
        }
        statistics.luminanceSum += sum;
    });
    FinishPass(ImageBitmap, 0, width, 0, statistics.height);
    const long double pixels = static_cast<long double>(std::int64_t{width} * statistics.height);
    const long double average = static_cast<long double>(statistics.luminanceSum) * (100.0L / 255.0L) / pixels;
    statistics.averageLuminance = static_cast<std::uint8_t>(std::lrint(average));
    return statistics;
}

std::string StatisticsText(const ImageStatistics& statistics, const std::string& fileName) {
    const std::string crlf = "\r\n";
    auto range = [&](const char* name, int c) {
        return std::string(name) + ": " + std::to_string(statistics.minimum[c]) + " to " +
               std::to_string(statistics.maximum[c]);
    };
    return "File: " + fileName + crlf + "Dimensions: " + std::to_string(statistics.width) + " X " +
           std::to_string(statistics.height) + crlf + crlf + "Optimized: " + (statistics.Optimized() ? "yes" : "no") +
           crlf + crlf + range("R", 0) + crlf + range("G", 1) + crlf + range("B", 2) + crlf + crlf +
           "Average luminance: " + std::to_string(statistics.averageLuminance) + " %";
}

void Statistics() {
    const ImageStatistics statistics = MeasureImage();
    TheServices().messages->ShowMessage(StatisticsText(statistics, CurrentFileName));
}

}  // namespace quorvane
