// The median engine alone, on plain pixel buffers: its key, its ordering of ties, its
// windows at the edges, its sizes and its reports.

#include "filters/median/MedianKernel.h"
#include "tests/median/MedianReference.h"
#include "tests/shared/KernelVariants.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>

namespace {

uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue)
{
    return red << 16 | green << 8 | blue;
}

struct Picture {
    int width;
    int height;
    std::vector<uint32_t> pixels;

    Picture(int w, int h, uint32_t fill = 0) : width(w), height(h), pixels(static_cast<size_t>(w * h), fill) {}
    uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y * width + x)]; }
    bool Filter(int radius, const UnitReport& report = {})
    {
        return MedianFilter({reinterpret_cast<uint8_t*>(pixels.data()), ptrdiff_t{4} * width, width, height}, radius,
                            report);
    }
};

// Noise, and a quarter of the pixels from a few colours several of which share a
// luma, so that ties are common.
Picture RandomPicture(int width, int height, unsigned seed)
{
    static const uint32_t kPalette[] = {Rgb(0, 0, 5), Rgb(0, 1, 0), Rgb(1, 0, 3), Rgb(3, 0, 0), Rgb(76, 76, 76)};
    std::mt19937 random(seed);
    Picture picture(width, height);
    for (uint32_t& pixel : picture.pixels) {
        const auto draw = static_cast<uint32_t>(random());
        pixel = (draw & 3) == 0 ? kPalette[(draw >> 2) % 5] : draw;
    }
    return picture;
}

} // namespace

TEST(MedianEngine, LumaIsTheWeightedSumRoundedDown)
{
    // (19584 R + 38464 G + 7488 B) / 65536, worked out by hand.
    const std::pair<uint32_t, uint32_t> cases[] = {{Rgb(255, 255, 255), 255}, {Rgb(255, 0, 0), 76},
                                                   {Rgb(0, 255, 0), 149},     {Rgb(0, 0, 255), 29},
                                                   {Rgb(10, 200, 30), 123},   {Rgb(1, 1, 1), 1},
                                                   {Rgb(1, 1, 0), 0}};
    for (const auto& [rgb, luma] : cases) EXPECT_EQ(LumaOf(rgb | 0xAB000000u), luma) << std::hex << rgb;
}

// Windows small enough to order by hand; every key below has luma 0, so red, green
// and blue decide.
TEST(MedianEngine, HandWorkedWindows)
{
    // A per-channel median of these nine would be (1, 0, 1), which is none of them.
    Picture ties(5, 5);
    const uint32_t nine[] = {Rgb(0, 0, 5), Rgb(1, 1, 0), Rgb(0, 0, 1), Rgb(3, 0, 0), Rgb(0, 1, 1),
                             Rgb(1, 0, 6), Rgb(1, 0, 3), Rgb(2, 0, 0), Rgb(0, 1, 0)};
    for (int i = 0; i < 9; ++i) ties.At(1 + i % 3, 1 + i / 3) = nine[i];
    ASSERT_TRUE(ties.Filter(1));
    EXPECT_EQ(ties.At(2, 2), Rgb(1, 0, 3));

    // Around every corner its own row holds 2 and 1, the next row 3 and 4: the corner
    // takes min(2, 4) = 2 where the rank among the four would give 3. Pixel (1, 0)
    // sees 1, 1, 2, 3, 4, 4 and takes the fourth smallest, 3.
    Picture corners(4, 4);
    for (const int x : {0, 3}) {
        for (const int y : {0, 3}) {
            const int nx = x == 0 ? 1 : 2;
            const int ny = y == 0 ? 1 : 2;
            corners.At(x, y) = 2;
            corners.At(nx, y) = 1;
            corners.At(x, ny) = 3;
            corners.At(nx, ny) = 4;
        }
    }
    ASSERT_TRUE(corners.Filter(1));
    for (const int x : {0, 3}) {
        for (const int y : {0, 3}) EXPECT_EQ(corners.At(x, y), 2u) << x << "," << y;
    }
    EXPECT_EQ(corners.At(1, 0), 3u);
}

TEST(MedianEngine, UniformStaysAndAnIsolatedPixelVanishesAtEveryRadius)
{
    for (int radius = 1; radius <= 4; ++radius) {
        Picture picture(11, 11, 0x7F282828u);
        picture.At(0, 0) = picture.At(5, 5) = Rgb(250, 0, 250);
        ASSERT_TRUE(picture.Filter(radius));
        for (const uint32_t pixel : picture.pixels) ASSERT_EQ(pixel, ReferenceKey(Rgb(40, 40, 40))) << radius;
    }
}

TEST(MedianEngine, MatchesThePlainRuleOnRandomPictures)
{
    for (int radius = 0; radius <= 5; ++radius) {  // 0 and 5 are brought into 1..4
        const int used = std::clamp(radius, 1, 4);
        const int least = 2 * used + 2;
        for (const auto& [width, height] : {std::pair{least, least}, {least + 1, 23}, {37, least}, {29, 19}}) {
            Picture picture = RandomPicture(width, height, static_cast<unsigned>(radius * 100 + width));
            const std::vector<uint32_t> expected = ReferenceMedian(picture.pixels, width, height, used);
            ASSERT_TRUE(picture.Filter(radius));
            EXPECT_EQ(picture.pixels, expected) << "radius " << radius << ", " << width << "x" << height;
        }
    }
}

namespace {

// Each variant of the inner loops against the plain rule (sorting the window), which
// the portable loops follow too; a variant the processor cannot run is skipped.
struct MedianVariant : kernel_variants::Named {
    MedianRowRadius1Variant rowRadius1;
    KeyOfRankWithinLumaVariant keyOfRankWithinLuma;
};

class MedianKernelVariants : public KernelVariantTest<MedianVariant> {};

} // namespace

INSTANTIATE_TEST_SUITE_P(Each, MedianKernelVariants,
                         testing::Values(MedianVariant{{"Portable", ""}, &MedianRowRadius1, &KeyOfRankWithinLuma},
                                         MedianVariant{{"Avx2", "AVX2"}, &MedianRowRadius1Avx2,
                                                       &KeyOfRankWithinLumaAvx2}),
                         NameOfVariant());

// Few distinct keys (ties everywhere) and full-range keys, at widths below, at and
// beyond whole vectors of eight.
TEST_P(MedianKernelVariants, RadiusOneRowsTakeTheFifthOfNine)
{
    std::mt19937 random(31);
    std::vector<int> widths = {3, 4, 8, 9, 10, 11, 17, 40};
    for (int i = 0; i < 20; ++i) widths.push_back(3 + static_cast<int>(random() % 70));
    for (const bool ties : {true, false}) {
        for (const int width : widths) {
            std::vector<uint32_t> rows[3];
            for (auto& row : rows) {
                for (int x = 0; x < width; ++x) {
                    row.push_back(ties ? static_cast<uint32_t>(random() % 5) * 0x01000001u
                                       : static_cast<uint32_t>(random()));
                }
            }
            std::vector<uint32_t> expected(static_cast<size_t>(width), 0xDEADBEEFu);
            for (int x = 1; x + 1 < width; ++x) {
                std::vector<uint32_t> window;
                for (const auto& row : rows) window.insert(window.end(), row.begin() + x - 1, row.begin() + x + 2);
                std::sort(window.begin(), window.end());
                expected[static_cast<size_t>(x)] = window[4];
            }
            std::vector<uint32_t> out(static_cast<size_t>(width), 0xDEADBEEFu);
            GetParam().rowRadius1(rows[0].data(), rows[1].data(), rows[2].data(), width, out.data());
            EXPECT_EQ(out, expected) << width << ": the end columns are left alone";
        }
    }
}

// Windows of every clipped shape with two or three lumas, so that one luma may hold
// one key, a handful, more than sixteen or all 81, with repeated keys and keys at
// the top of the range.
TEST_P(MedianKernelVariants, EveryRankWithinALuma)
{
    std::mt19937 random(47);
    for (int rowCount = 1; rowCount <= 9; ++rowCount) {
        for (int width = 1; width <= 9; ++width) {
            const uint32_t lumas = 1 + static_cast<uint32_t>(rowCount + width) % 3;
            std::vector<uint32_t> pixels(static_cast<size_t>(rowCount) * 12);
            for (uint32_t& pixel : pixels) {
                const uint32_t colour = random() % 6;
                pixel = (0xFFu - static_cast<uint32_t>(random()) % lumas) << 24 | (colour == 5 ? 0xFFFFFFu : colour);
            }
            std::vector<const uint32_t*> rows;
            for (int i = 0; i < rowCount; ++i) rows.push_back(pixels.data() + i * 12);
            const MedianWindow window{rows.data(), rowCount, 3, width};
            for (uint32_t luma = 0xFD; luma <= 0xFF; ++luma) {
                std::vector<uint32_t> sorted;
                for (const uint32_t* row : rows) {
                    std::copy_if(row + 3, row + 3 + width, std::back_inserter(sorted),
                                 [luma](uint32_t key) { return key >> 24 == luma; });
                }
                std::sort(sorted.begin(), sorted.end());
                for (int rank = 0; rank < static_cast<int>(sorted.size()); ++rank) {
                    EXPECT_EQ(GetParam().keyOfRankWithinLuma(window, luma, rank), sorted[static_cast<size_t>(rank)])
                        << rowCount << "x" << width << " rank " << rank;
                }
            }
        }
    }
}

TEST(MedianEngine, TheWindowMustBeSmallerThanThePicture)
{
    struct Case {
        int radius, width, height;
        bool works;
    };
    for (const Case c : {Case{1, 4, 4, true}, Case{1, 3, 9, false}, Case{1, 9, 3, false}, Case{4, 10, 10, true},
                         Case{4, 9, 10, false}, Case{4, 10, 9, false}, Case{7, 9, 12, false}}) {
        Picture picture = RandomPicture(c.width, c.height, 7);
        const std::vector<uint32_t> before = picture.pixels;
        EXPECT_EQ(picture.Filter(c.radius), c.works) << c.radius << ": " << c.width << "x" << c.height;
        EXPECT_EQ(picture.pixels != before, c.works);
    }
}

// 2H - 2r reports: every keyed row, then every row whose window has full height. A
// stop keeps the colours; the rows keyed by then keep their luma.
TEST(MedianEngine, ReportsAndStops)
{
    const Picture original = RandomPicture(10, 12, 5);
    for (const int stopAt : {3, 13, 0}) {  // in the keying, in the median pass, never
        Picture picture = original;
        std::vector<int> reports;
        const bool done = picture.Filter(2, [&](int units, int total) {
            EXPECT_EQ(total, 20);
            reports.push_back(units);
            return units != stopAt;
        });
        EXPECT_EQ(done, stopAt == 0);
        EXPECT_EQ(reports.back(), stopAt == 0 ? 20 : stopAt);
        EXPECT_EQ(reports.size(), static_cast<size_t>(reports.back()));
        if (done) continue;
        for (int i = 0; i < 120; ++i) {
            const uint32_t before = original.pixels[static_cast<size_t>(i)];
            ASSERT_EQ(picture.pixels[static_cast<size_t>(i)], i / 10 < stopAt ? ReferenceKey(before) : before) << i;
        }
    }
}
