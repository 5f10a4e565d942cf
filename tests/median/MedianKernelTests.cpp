// The median engine alone, on plain pixel buffers: its key, its ordering of ties, its
// windows at the edges, its sizes and its reports.

#include "tests/KernelPicture.h"

#include "filters/median/MedianKernel.h"
#include "tests/median/MedianReference.h"
#include "tests/shared/KernelVariants.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <numeric>
#include <random>

namespace {

uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue)
{
    return red << 16 | green << 8 | blue;
}

struct Picture : KernelPicture {
    using KernelPicture::KernelPicture;
    bool Filter(int radius, const UnitReport& report = {}, int threads = 1)
    {
        return MedianFilter(Rows(), radius, report, threads);
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

// The smallest pictures each radius takes, odd and even sizes, and widths that end
// just before, at and just past a tile of 128 columns or a vector of pairs.
TEST(MedianEngine, MatchesThePlainRuleOnRandomPictures)
{
    for (int radius = 0; radius <= 5; ++radius) {  // 0 and 5 are brought into 1..4
        const int used = std::clamp(radius, 1, 4);
        const int least = 2 * used + 2;
        const int tile = 128 + 2 * used;  // a row of exactly one tile of windows
        for (const auto& [width, height] : {std::pair{least, least}, {least + 1, 23}, {37, least}, {29, 19},
                                            {tile - 1, least + 1}, {tile, 13}, {tile + 1, 11}, {2 * tile + 17, 15}}) {
            const Picture source = RandomPicture(width, height, static_cast<unsigned>(radius * 100 + width));
            const std::vector<uint32_t> expected = ReferenceMedian(source.pixels, width, height, used);
            // Bands of one row up to many: rows near a band's edge read the rows of
            // the bands beside it as they were.
            for (const int threads : {1, 2, 3, 8}) {
                Picture picture = source;
                ASSERT_TRUE(picture.Filter(radius, {}, threads));
                EXPECT_EQ(picture.pixels, expected)
                    << "radius " << radius << ", " << width << "x" << height << ", " << threads << " threads";
            }
        }
    }
}

namespace {

// Each variant of the interior row against the plain rule (sorting the window); a
// variant the processor cannot run is skipped.
struct MedianVariant : kernel_variants::Named {
    KeyRow keyRow;
    MedianInteriorRow row;
};

class MedianKernelVariants : public KernelVariantTest<MedianVariant> {};

// Rows of random keys, drawn from few values (ties everywhere, keys at both ends of
// the range) or from all of them, each followed by the slack the kernel may read.
std::vector<std::vector<uint32_t>> RandomRows(int count, int width, bool ties, std::mt19937& random)
{
    std::vector<std::vector<uint32_t>> rows(static_cast<size_t>(count));
    for (auto& row : rows) {
        row.resize(static_cast<size_t>(width + kMedianRowSlack), 0xFFFFFFFFu);
        for (int x = 0; x < width; ++x) {
            const auto draw = static_cast<uint32_t>(random());
            row[static_cast<size_t>(x)] = ties ? (draw % 4 == 3 ? 0xFFFFFFFFu : (draw % 4) * 0x01000001u) : draw;
        }
    }
    return rows;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Each, MedianKernelVariants,
                         testing::Values(MedianVariant{{"Portable", ""}, &KeyRowByLuma, &MedianInteriorRowPortable},
                                         MedianVariant{{"Sse2", "SSE2"}, &KeyRowByLumaSse2, &MedianInteriorRowSse2},
                                         MedianVariant{{"Avx2", "AVX2"}, &KeyRowByLumaAvx2, &MedianInteriorRowAvx2}),
                         NameOfVariant());

// Every channel value in every channel (the random words cover them many times over),
// at widths below, at and beyond whole vectors; the fourth byte of the input is
// replaced whatever it held.
TEST_P(MedianKernelVariants, KeyedRowsCarryTheirLuma)
{
    std::mt19937 random(5);
    for (int width = 0; width <= 40; ++width) {
        std::vector<uint32_t> row(static_cast<size_t>(width));
        for (uint32_t& pixel : row) pixel = static_cast<uint32_t>(random());
        std::vector<uint32_t> expected(row.size() + 1, 0xDEADBEEFu);
        std::transform(row.begin(), row.end(), expected.begin(), ReferenceKey);
        std::vector<uint32_t> keyed(row.size() + 1, 0xDEADBEEFu);
        GetParam().keyRow(row.data(), width, keyed.data(), nullptr);
        EXPECT_EQ(keyed, expected) << width;
    }
    std::vector<uint32_t> all(1u << 16);
    for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<uint32_t>(i * 0x010101u) ^ static_cast<uint32_t>(i >> 8);
    std::vector<uint32_t> keyed(all.size());
    GetParam().keyRow(all.data(), static_cast<int>(all.size()), keyed.data(), all.data());
    for (size_t i = 0; i < all.size(); ++i) ASSERT_EQ(keyed[i], ReferenceKey(all[i])) << std::hex << all[i];
}

// Every radius and every window height (clipped at the top or bottom, or full) at
// widths from none to several tiles of columns, below, at and beyond whole vectors;
// the columns whose window would cross the row's ends stay untouched.
TEST_P(MedianKernelVariants, InteriorRowsTakeTheMiddleKeyOfEachWindow)
{
    std::mt19937 random(31);
    std::vector<uint32_t> scratch(MedianScratchKeys());
    for (int radius = 1; radius <= 4; ++radius) {
        const int side = 2 * radius + 1;
        std::vector<int> widths = {1, side - 1, side, side + 1, side + 7, side + 8, 127, 128 + side, 300};
        for (int i = 0; i < 4; ++i) widths.push_back(1 + static_cast<int>(random() % 400));
        for (int height = radius + 1; height <= side; ++height) {
            for (const bool ties : {true, false}) {
                for (const int width : widths) {
                    const auto rows = RandomRows(height, width, ties, random);
                    std::vector<const uint32_t*> pointers;
                    for (const auto& row : rows) pointers.push_back(row.data());
                    std::vector<uint32_t> expected(static_cast<size_t>(width), 0xDEADBEEFu);
                    for (int x = radius; x + radius < width; ++x) {
                        std::vector<uint32_t> window;
                        for (const auto& row : rows) {
                            window.insert(window.end(), row.begin() + x - radius, row.begin() + x + radius + 1);
                        }
                        std::sort(window.begin(), window.end());
                        expected[static_cast<size_t>(x)] = window[window.size() / 2];
                    }
                    std::vector<uint32_t> out(static_cast<size_t>(width), 0xDEADBEEFu);
                    GetParam().row(pointers.data(), height, width, radius, out.data(), scratch.data());
                    EXPECT_EQ(out, expected) << "radius " << radius << ", " << width << "x" << height
                                             << (ties ? ", ties" : "");
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
                         Case{4, 9, 10, false}, Case{4, 10, 9, false}, Case{7, 9, 12, false}, Case{1, 1, 1, false},
                         Case{2, 1, 40, false}, Case{2, 40, 1, false}, Case{3, 5, 5, false}}) {
        Picture picture = RandomPicture(c.width, c.height, 7);
        const std::vector<uint32_t> before = picture.pixels;
        EXPECT_EQ(picture.Filter(c.radius), c.works) << c.radius << ": " << c.width << "x" << c.height;
        EXPECT_EQ(picture.pixels != before, c.works);
    }
}

// 2H - 2r reports: each row is keyed just before the first window that needs it, and
// each row with a full-height window reports once it is done. A stop at any report
// leaves the rows done by then with their results and every other row as it was.
TEST(MedianEngine, ReportsAndStops)
{
    constexpr int kRadius = 2, kWidth = 10, kHeight = 12, kTotal = 2 * kHeight - 2 * kRadius;
    const Picture original = RandomPicture(kWidth, kHeight, 5);
    const std::vector<uint32_t> results = ReferenceMedian(original.pixels, kWidth, kHeight, kRadius);
    for (int stopAt = 1; stopAt <= kTotal + 1; ++stopAt) {  // past the total: never
        Picture picture = original;
        std::vector<int> reports;
        const bool done = picture.Filter(kRadius, [&](int units, int total) {
            EXPECT_EQ(total, kTotal);
            reports.push_back(units);
            return units != stopAt;
        });
        EXPECT_EQ(done, stopAt > kTotal);
        std::vector<int> expectedReports(static_cast<size_t>(std::min(stopAt, kTotal)));
        std::iota(expectedReports.begin(), expectedReports.end(), 1);
        EXPECT_EQ(reports, expectedReports);
        for (int y = 0; y < kHeight; ++y) {
            // Units reported before row y is worked on: its keyed rows and the rows
            // with full-height windows above it.
            const int before = std::min(kHeight, y + kRadius + 1) + std::clamp(y - kRadius, 0, kHeight - 2 * kRadius);
            const std::vector<uint32_t>& expected = before < stopAt ? results : original.pixels;
            for (int x = 0; x < kWidth; ++x) {
                const auto i = static_cast<size_t>(y * kWidth + x);
                ASSERT_EQ(picture.pixels[i], expected[i]) << "stop at " << stopAt << ", pixel " << x << "," << y;
            }
        }
    }
}

// With several threads the reports follow the bands done, rise to the total, and a
// stop at the first ends the call unsuccessfully.
TEST(MedianEngine, ReportsInBandsWithSeveralThreads)
{
    constexpr int kRadius = 1, kWidth = 9, kHeight = 40, kTotal = 2 * kHeight - 2 * kRadius;
    Picture picture = RandomPicture(kWidth, kHeight, 8);
    std::vector<int> reports;
    ASSERT_TRUE(picture.Filter(
        kRadius,
        [&](int units, int total) {
            EXPECT_EQ(total, kTotal);
            reports.push_back(units);
            return true;
        },
        3));
    ASSERT_FALSE(reports.empty());
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    EXPECT_EQ(reports.back(), kTotal);
    EXPECT_FALSE(picture.Filter(kRadius, [](int, int) { return false; }, 3));
}
