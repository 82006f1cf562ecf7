// The fast kernels against the straightforward filters, on random pictures
// and random selections: inside, reaching past the right and bottom edges,
// partly above or left of the image, one pixel wide or high, and large
// enough to run on two threads.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "filter_test_support.h"
#include "filters/composite.h"
#include "filters/edges.h"
#include "filters/feather.h"
#include "filters/frame.h"
#include "filters/levels.h"
#include "filters/mean.h"
#include "filters/noise.h"
#include "filters/point.h"
#include "filters/sharpness.h"
#include "filters/statistics.h"
#include "reference_filters.h"

namespace quorvane::testing {
namespace {

struct Kernel {
    const char* name;
    std::function<void()> fast;
    std::function<void()> reference;
    bool canFail = false;  // has an error path the random cases must reach
};

// Few values per channel, so that flat channels and flat edge maps (the
// error paths) turn up among the random cases too.
Bitmap CoarseImage(std::mt19937& random, int width, int height) {
    Bitmap image = RandomImage(random, width, height);
    for (int y = 0; y < height; ++y)
        for (int i = 0; i < 3 * width; ++i) image.ScanLine(y)[i] &= 0xC0;
    return image;
}

class ReferenceComparison : public FixedClockFilterTest {
protected:

    // Runs both versions from the same document and expects the same pixels,
    // the same error, the same pass state, the same generator seed and a
    // WorkBitmap of the same size without pixels.
    // Returns whether they failed.
    bool Compare(const Kernel& kernel, const Bitmap& image, TRect selection, const std::string& where) {
        Load(image, selection);
        RandomSeed = 7;
        std::string referenceError;
        try {
            kernel.reference();
        } catch (const std::exception& error) {
            referenceError = error.what();
        }
        const Bitmap expected = Copy(ImageBitmap);
        const std::int32_t expectedX = PixelX;
        const std::int32_t expectedY = PixelY;
        const std::uint32_t expectedSeed = RandomSeed;
        const int expectedWorkWidth = WorkBitmap.Width();
        const int expectedWorkHeight = WorkBitmap.Height();
        PixelX = PixelY = -7;
        RandomSeed = 7;

        Load(image, selection);
        std::string fastError;
        try {
            kernel.fast();
        } catch (const std::exception& error) {
            fastError = error.what();
        }
        EXPECT_EQ(fastError, referenceError) << kernel.name << where;
        EXPECT_TRUE(ImageBitmap.SamePixels(expected)) << kernel.name << where;
        EXPECT_FALSE(WorkBitmap.HasPixels()) << kernel.name << where;
        EXPECT_EQ(WorkBitmap.Width(), expectedWorkWidth) << kernel.name << where;
        EXPECT_EQ(WorkBitmap.Height(), expectedWorkHeight) << kernel.name << where;
        if (referenceError.empty()) {
            EXPECT_EQ(PixelX, expectedX) << kernel.name << where;
            EXPECT_EQ(PixelY, expectedY) << kernel.name << where;
            EXPECT_EQ(RandomSeed, expectedSeed) << kernel.name << where;
        }
        return !referenceError.empty();
    }

    void CompareOnRandomCases(const Kernel& kernel, int cases) {
        std::mt19937 random(20240611);
        std::uniform_int_distribution<int> size(1, 24);
        int failures = 0;
        for (int i = 0; i < cases; ++i) {
            const int width = size(random);
            const int height = size(random);
            const bool coarse = i % 3 == 0;
            const Bitmap image = coarse ? CoarseImage(random, width, height) : RandomImage(random, width, height);
            TRect selection = RandomSelection(random, width, height);
            if (i % 7 == 1) selection.Right = selection.Left;  // one pixel wide
            if (i % 7 == 2) selection.Bottom = selection.Top;  // one pixel high
            FixedMillisecond = static_cast<std::uint32_t>(random());
            if (Compare(kernel, image, selection, " case " + std::to_string(i))) ++failures;
        }
        if (kernel.canFail) {
            EXPECT_GT(failures, 0) << kernel.name << ": the error path was never taken";
        }
        // Large enough for two threads, selection past the right and bottom edges.
        const Bitmap large = RandomImage(random, 390, 310);
        Compare(kernel, large, TRect{-2, 7, 395, 320}, " large");
        Compare(kernel, large, TRect{0, 0, 389, 309}, " large whole");
    }
};

const Kernel Kernels[] = {
    {"AdjustChannels", [] { AdjustChannels(25, -25, 13); }, [] { reference::AdjustChannels(25, -25, 13); }},
    {"BlackAndWhite", BlackAndWhite, reference::BlackAndWhite},
    {"Grayscale", Grayscale, reference::Grayscale},
    {"InvertChannels(0)", [] { InvertChannels(0); }, [] { reference::InvertChannels(0); }},
    {"InvertChannels(2)", [] { InvertChannels(2); }, [] { reference::InvertChannels(2); }},
    {"LogarithmChannels(0)", [] { LogarithmChannels(0); }, [] { reference::LogarithmChannels(0); }},
    {"LogarithmChannels(3)", [] { LogarithmChannels(3); }, [] { reference::LogarithmChannels(3); }},
    {"AdjustContrast(false)", [] { AdjustContrast(false); }, [] { reference::AdjustContrast(false); }},
    {"AdjustContrast(true)", [] { AdjustContrast(true); }, [] { reference::AdjustContrast(true); }},
    {"SwapChannels", SwapChannels, reference::SwapChannels},
    {"Sepia", Sepia,
     [] {
         reference::Grayscale();
         reference::AdjustChannels(25, 0, -25);
     }},
    {"TintedGrayscale", [] { TintedGrayscale(-300, 13, 1000); },
     [] {
         reference::Grayscale();
         reference::AdjustChannels(-300, 13, 1000);
     }},
    {"OptimizeLevels", OptimizeLevels, reference::OptimizeLevels, true},
    {"Mean(1)", [] { Mean(1); }, [] { reference::Mean(1); }},
    {"Mean(5)", [] { Mean(5); }, [] { reference::Mean(5); }},
    {"Mean(13)", [] { Mean(13); }, [] { reference::Mean(13); }},
    {"AddNoise(25)", [] { AddNoise(25); }, [] { reference::AddNoise(25, FixedMillisecond); }},
    {"AddNoise(300)", [] { AddNoise(300); }, [] { reference::AddNoise(300, FixedMillisecond); }},
    {"FindEdges", FindEdges, reference::FindEdges, true},
    {"AdjustSharpness(false)", [] { AdjustSharpness(false); }, [] { reference::AdjustSharpness(false); }},
    {"AdjustSharpness(true)", [] { AdjustSharpness(true); }, [] { reference::AdjustSharpness(true); }},
    {"Feather(black)", [] { Feather(RGB(0, 0, 0)); }, [] { reference::Feather(RGB(0, 0, 0)); }, true},
    {"Feather(colour)", [] { Feather(RGB(200, 17, 99)); }, [] { reference::Feather(RGB(200, 17, 99)); }},
};

TEST_F(ReferenceComparison, FastKernelsGiveTheReferencePixels) {
    for (const Kernel& kernel : Kernels) CompareOnRandomCases(kernel, 120);
}

TEST_F(ReferenceComparison, StatisticsMatchTheReference) {
    std::mt19937 random(99);
    for (const auto& [width, height] : {std::pair{1, 1}, {7, 3}, {24, 24}, {400, 300}}) {
        Load(RandomImage(random, width, height));
        const reference::Statistics expected = reference::MeasureImage();
        const std::int32_t expectedX = PixelX;
        const std::int32_t expectedY = PixelY;
        const std::uint8_t* expectedPointer = PixelPtr;
        const ImageStatistics statistics = MeasureImage();
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(statistics.minimum[c], expected.minimum[c]);
            EXPECT_EQ(statistics.maximum[c], expected.maximum[c]);
        }
        EXPECT_EQ(statistics.luminanceSum, expected.sum);
        EXPECT_EQ(statistics.averageLuminance, expected.average);
        EXPECT_EQ(PixelX, expectedX);
        EXPECT_EQ(PixelY, expectedY);
        EXPECT_EQ(PixelPtr, expectedPointer);
    }
}

}  // namespace
}  // namespace quorvane::testing
