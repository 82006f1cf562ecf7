#include "platform/bitmap.h"

#include <gtest/gtest.h>

#include "platform/error.h"

namespace quorvane {
namespace {

Bitmap Numbered(int width, int height) {
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, RGB(x, y, x + y));
    return bitmap;
}

TEST(Bitmap, RowsArePaddedToFourBytesAndStartBlack) {
    Bitmap bitmap(5, 3);
    EXPECT_EQ(bitmap.Stride(), 16u);
    EXPECT_EQ(bitmap.ScanLine(1) - bitmap.ScanLine(0), 16);
    EXPECT_EQ(bitmap.Pixel(4, 2), RGB(0, 0, 0));
    bitmap.SetPixel(4, 2, RGB(1, 2, 3));
    const std::uint8_t* p = bitmap.ScanLine(2) + 12;
    EXPECT_EQ(p[0], 3);  // blue first
    EXPECT_EQ(p[1], 2);
    EXPECT_EQ(p[2], 1);
    EXPECT_EQ(p[3], 0);  // padding
}

TEST(Bitmap, DrawIsOneToOneAndClipped) {
    const Bitmap source = Numbered(4, 4);
    Bitmap target(5, 5);
    target.Fill(RGB(9, 9, 9));
    target.Draw(source, 3, -2);
    EXPECT_EQ(target.Pixel(3, 0), source.Pixel(0, 2));
    EXPECT_EQ(target.Pixel(4, 1), source.Pixel(1, 3));
    EXPECT_EQ(target.Pixel(2, 0), RGB(9, 9, 9));
    EXPECT_EQ(target.Pixel(3, 2), RGB(9, 9, 9));
    target.Draw(source, 10, 10);  // entirely outside: nothing happens
    target.Draw(source, -4, 0);
    EXPECT_EQ(target.Pixel(0, 0), RGB(9, 9, 9));
}

TEST(Bitmap, StretchDrawDoublesEachPixel) {
    const Bitmap source = Numbered(2, 2);
    Bitmap target(4, 4);
    target.StretchDraw(source, 0, 0, 4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(target.Pixel(x, y), source.Pixel(x / 2, y / 2));
}

TEST(Bitmap, ReleaseKeepsDimensionsAndAssignCopies) {
    Bitmap source = Numbered(3, 2);
    Bitmap copy;
    copy.Assign(source);
    EXPECT_TRUE(copy.SamePixels(source));
    source.ReleasePixels();
    EXPECT_FALSE(source.HasPixels());
    EXPECT_EQ(source.Width(), 3);
    EXPECT_EQ(source.Height(), 2);
    EXPECT_EQ(source.ScanLine(1)[0], 0);  // storage comes back black
}

TEST(Bitmap, RefusesImpossibleSizes) {
    Bitmap bitmap;
    EXPECT_THROW(bitmap.SetSize(-1, 5), Error);
    EXPECT_THROW(bitmap.SetSize(100000, 100000), Error);
    EXPECT_TRUE(bitmap.Empty());
}

TEST(Bitmap, LargeStorageIsZeroedAndWritable) {
    Bitmap bitmap(1500, 1000);  // above the mapping threshold
    EXPECT_EQ(bitmap.Pixel(1499, 999), RGB(0, 0, 0));
    bitmap.SetPixel(1499, 999, RGB(7, 8, 9));
    EXPECT_EQ(bitmap.Pixel(1499, 999), RGB(7, 8, 9));
}

}  // namespace
}  // namespace quorvane
