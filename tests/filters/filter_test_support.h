// What the filter tests share: a document reset for each test, services that
// record what the engine shows, random pictures and selections, and pixel
// helpers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "app/document.h"
#include "platform/bitmap.h"
#include "platform/services.h"

namespace quorvane::testing {

// Records message boxes and counts busy-cursor changes.
class RecordingServices final : public MessageService, public CursorService {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool Confirm(const std::string& text) override {
        ADD_FAILURE() << "unexpected confirmation: " << text;
        return false;
    }
    void ShowError(const std::string& text) override { ADD_FAILURE() << "unexpected error box: " << text; }
    void Beep() override {}
    void SetBusy(bool busy) override { busyDepth += busy ? 1 : -1; }

    std::vector<std::string> messages;
    int busyDepth = 0;
};

// Resets the document before each test and installs RecordingServices.
class FilterTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes `image` the document with the given selection.
    void Load(const Bitmap& image, TRect selection);
    void Load(const Bitmap& image);  // whole image selected

    RecordingServices services_;

private:
    Services saved_;
};

// A FilterTest whose noise generator is seeded from FixedMillisecond instead
// of the clock.
extern std::uint32_t FixedMillisecond;
class FixedClockFilterTest : public FilterTest {
protected:
    void SetUp() override;
    void TearDown() override;
};

Bitmap Uniform(int width, int height, TColor colour);
Bitmap RandomImage(std::mt19937& random, int width, int height);
// A selection at least one pixel wide and high that may reach past the
// image's right and bottom edges, or lie partly above or left of it.
TRect RandomSelection(std::mt19937& random, int imageWidth, int imageHeight);
Bitmap Copy(const Bitmap& bitmap);

// Pixels of the rectangle outside `inside` that differ between a and b.
int ChangedOutside(const Bitmap& a, const Bitmap& b, TRect inside);

std::string Describe(TColor colour);

}  // namespace quorvane::testing
