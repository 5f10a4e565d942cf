// The red-eye rule held to a plain reference: the region in picture pixels with y from
// the top, its columns left .. right - 1 and its picture rows top + 1 .. bottom; inside
// it, a pixel whose red / (green + blue) is above 1.2 times the region's
// sum of red / (sum of green + sum of blue) turns black, and nothing else changes.

#include "filters/red-eye/RedEyeKernel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

// Pixels kept as a person sees them (row 0 at the top) but reached, as the host's
// accessor is, with row 0 at the bottom.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> seen;  // seen[yFromTop * width + x]

    uint32_t& Seen(int x, int yFromTop) { return seen[static_cast<size_t>(yFromTop * width + x)]; }
    uint32_t Seen(int x, int yFromTop) const { return seen[static_cast<size_t>(yFromTop * width + x)]; }
    // Outside the picture, as the host's accessor: black to read, nothing to write.
    bool Contains(int x, int y) const { return x >= 0 && x < width && y >= 0 && y < height; }
    uint32_t GetPixel(int x, int y) { return Contains(x, y) ? Seen(x, height - 1 - y) : 0; }
    void SetPixel(int x, int y, uint32_t color)
    {
        if (Contains(x, y)) Seen(x, height - 1 - y) = color;
    }
};

uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b)
{
    return (r << 16) | (g << 8) | b;
}

Picture Filled(int width, int height, uint32_t color)
{
    return {width, height, std::vector<uint32_t>(static_cast<size_t>(width * height), color)};
}

Picture Random(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    Picture picture = Filled(width, height, 0);
    for (uint32_t& pixel : picture.seen) pixel = random() & 0xFFFFFFFFu;
    return picture;
}

// Written from the rule alone, in picture rows from the top.
Picture Reference(Picture picture, const RECT& region)
{
    const auto inside = [&](int x, int yFromTop) {
        return x >= region.left && x < region.right && yFromTop > region.top && yFromTop <= region.bottom;
    };
    uint64_t red = 0;
    uint64_t others = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (!inside(x, y)) continue;
            const uint32_t pixel = picture.Seen(x, y);
            red += (pixel >> 16) & 0xFF;
            others += ((pixel >> 8) & 0xFF) + (pixel & 0xFF);
        }
    }
    const double limit = static_cast<double>(red) / static_cast<double>(others) * 1.2;
    Picture result = picture;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (!inside(x, y)) continue;
            const uint32_t pixel = picture.Seen(x, y);
            const double r = (pixel >> 16) & 0xFF;
            const double gb = ((pixel >> 8) & 0xFF) + (pixel & 0xFF);
            if (r / gb > limit) result.Seen(x, y) = 0;
        }
    }
    return result;
}

Picture Reduced(Picture picture, const RECT& region)
{
    ReduceRedEye(picture, SpanOfRegion(region, picture.height));
    return picture;
}

} // namespace

TEST(RedEyeKernel, PaintsWhatTheReferencePaintsAndNothingOutsideTheRegion)
{
    const RECT regions[] = {{3, 2, 17, 11}, {0, 0, 20, 13}, {5, 0, 6, 12}, {0, 11, 20, 12}, {10, 4, 14, 9}};
    unsigned seed = 1;
    for (const RECT& region : regions) {
        const Picture picture = Random(20, 13, seed++);
        const Picture expected = Reference(picture, region);
        EXPECT_NE(expected.seen, picture.seen) << "a random region has pixels above its mean; region " << region.left;
        EXPECT_EQ(Reduced(picture, region).seen, expected.seen) << region.left << " " << region.top;
    }
}

TEST(RedEyeKernel, ARedEyeOnSkinBecomesBlackAndTheSkinStays)
{
    const uint32_t skin = Rgb(200, 150, 120);
    const uint32_t pupil = Rgb(220, 30, 40);
    Picture picture = Filled(12, 10, skin);
    for (int y = 4; y < 7; ++y) {
        for (int x = 5; x < 8; ++x) picture.Seen(x, y) = pupil;
    }
    // Picture rows top + 1 .. bottom are treated: 3 .. 7 here.
    const Picture reduced = Reduced(picture, {2, 2, 10, 7});
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 12; ++x) {
            const bool eye = x >= 5 && x < 8 && y >= 4 && y < 7;
            EXPECT_EQ(reduced.Seen(x, y), eye ? 0u : skin) << x << ", " << y;
        }
    }
    EXPECT_EQ(Reduced(picture, {2, 2, 10, 3}).seen, picture.seen) << "picture row 3 holds no pupil";
    Picture lowest = Reduced(picture, {2, 3, 10, 4});
    EXPECT_EQ(lowest.Seen(5, 4), 0u) << "the region's only row is picture row 4, one below its top";
}

TEST(RedEyeKernel, RegionsThatChangeNothing)
{
    const Picture red = Filled(6, 6, Rgb(250, 10, 10));
    EXPECT_EQ(Reduced(red, {0, 0, 6, 5}).seen, red.seen) << "every pixel exactly at the mean";
    const Picture random = Random(8, 8, 42);
    EXPECT_EQ(Reduced(random, {0, 0, 0, 0}).seen, random.seen) << "the empty region of a new filter";
    EXPECT_EQ(Reduced(random, {4, 0, 4, 7}).seen, random.seen) << "right edge on the left edge";
    EXPECT_EQ(Reduced(random, {0, 3, 8, 3}).seen, random.seen) << "bottom on the top";
    const Picture black = Filled(5, 5, 0);
    EXPECT_EQ(Reduced(black, {0, 0, 5, 4}).seen, black.seen) << "black has no redness to compare";
}

TEST(RedEyeKernel, RedWithoutGreenOrBlue)
{
    Picture picture = Filled(4, 4, Rgb(90, 100, 110));
    picture.Seen(1, 1) = Rgb(1, 0, 0);
    const Picture reduced = Reduced(picture, {0, 0, 4, 3});
    EXPECT_EQ(reduced.Seen(1, 1), 0u) << "red over nothing is infinitely red";
    EXPECT_EQ(reduced.Seen(0, 1), Rgb(90, 100, 110));

    Picture onlyRed = Filled(3, 3, Rgb(80, 0, 0));
    onlyRed.Seen(1, 1) = Rgb(255, 0, 0);
    EXPECT_EQ(Reduced(onlyRed, {0, 0, 3, 2}).seen, onlyRed.seen) << "an infinite limit is never exceeded";
}

TEST(RedEyeKernel, TheFourthByteIsNotColour)
{
    Picture picture = Filled(3, 3, 0xFF000000u | Rgb(100, 100, 100));
    picture.Seen(1, 1) = 0x12000000u | Rgb(200, 20, 20);
    const Picture reduced = Reduced(picture, {0, 0, 3, 2});
    EXPECT_EQ(reduced.Seen(1, 1), 0u);
    EXPECT_EQ(reduced.Seen(0, 1), 0xFF000000u | Rgb(100, 100, 100));
}

TEST(RedEyeKernel, SpanTurnsPictureRowsIntoRowsFromTheBottom)
{
    const RedEyeSpan span = SpanOfRegion({5, 8, 10, 20}, 30);
    EXPECT_EQ(span.x0, 5);
    EXPECT_EQ(span.x1, 10);
    EXPECT_EQ(span.y0, 9);   // 30 - 1 - 20
    EXPECT_EQ(span.y1, 21);  // 30 - 1 - 8
    const RedEyeSpan swapped = SpanOfRegion({10, 20, 5, 8}, 30);
    EXPECT_EQ(swapped.x0, 5);
    EXPECT_EQ(swapped.y0, 9);
}
