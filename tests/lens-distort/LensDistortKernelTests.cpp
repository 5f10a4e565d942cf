// The lens distortion kernel alone: what the coefficient 0 and the centre keep, where
// barrel and pincushion move a marked pixel (worked by hand), exact halves, the black
// beyond the picture, every pixel against the plain reference, and the row reports.

#include "tests/lens-distort/LensDistortReference.h"

#include "filters/lens-distort/LensDistortKernel.h"


#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <utility>
#include <vector>

namespace {

using lens_reference::Picture;

constexpr uint32_t kGrey = 0x00606060u;
constexpr uint32_t kMarker = 0x00FFFFFFu;

PixelRows RowsOf(Picture& picture)
{
    return {reinterpret_cast<uint8_t*>(picture.pixels.data()), static_cast<ptrdiff_t>(picture.width) * 4,
            picture.width, picture.height};
}

Picture Filled(int width, int height, uint32_t pixel)
{
    return {width, height, std::vector<uint32_t>(static_cast<size_t>(width) * static_cast<size_t>(height), pixel)};
}

Picture RandomPicture(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    Picture picture = Filled(width, height, 0);
    for (uint32_t& pixel : picture.pixels) pixel = static_cast<uint32_t>(random());
    return picture;
}

// The kernel's output for source, on a target first filled with a pattern it must
// overwrite everywhere.
Picture Distort(Picture source, double k)
{
    Picture target = Filled(source.width, source.height, 0xDEADBEEFu);
    EXPECT_TRUE(DistortLens(RowsOf(source), RowsOf(target), k, {}));
    return target;
}

void SetAt(Picture& picture, int x, int y, uint32_t pixel)
{
    picture.pixels[static_cast<size_t>(y) * static_cast<size_t>(picture.width) + static_cast<size_t>(x)] = pixel;
}

} // namespace

TEST(LensDistortKernel, CoefficientZeroKeepsTheColoursAndClearsTheFourthByteButAtTheCentre)
{
    for (const auto& [width, height] : {std::pair{1, 1}, std::pair{2, 1}, std::pair{5, 3}, std::pair{16, 9},
                                        std::pair{33, 40}}) {
        const Picture source = RandomPicture(width, height, static_cast<unsigned>(width * 100 + height));
        const Picture out = Distort(source, 0.0);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const bool centre = x == width / 2 && y == height / 2;
                EXPECT_EQ(out.At(x, y), centre ? source.At(x, y) : source.At(x, y) & 0x00FFFFFFu)
                    << width << "x" << height << " at " << x << "," << y;
            }
        }
    }
}

TEST(LensDistortKernel, TheCentrePixelIsCopiedWholeForEveryCoefficient)
{
    for (const double k : {-0.1, -0.03, 0.07, 0.1, 2.0}) {
        for (const auto& [width, height] : {std::pair{1, 1}, std::pair{4, 7}, std::pair{9, 2}}) {
            Picture source = Filled(width, height, kGrey);
            SetAt(source, width / 2, height / 2, 0xA1B2C3D4u);
            EXPECT_EQ(Distort(source, k).At(width / 2, height / 2), 0xA1B2C3D4u) << k << " " << width << "x" << height;
        }
    }
}

// 200 x 200: centre (100, 100), reference radius 100. The output pixel (160, 180)
// lies 100 from the centre (60 across, 80 up), so n = 1 and the source radius is
// 100 x (1 + k): 110 for barrel, the point (166, 188); 90 for pincushion, the point
// (154, 172). A marker at the source point shows at (160, 180): barrel drew it 10
// in towards the centre, pincushion pushed it 10 out.
TEST(LensDistortKernel, BarrelMovesAPixelNearTheCornerInAndPincushionOut)
{
    for (const auto& [k, markerX, markerY] : {std::tuple{0.1, 166, 188}, std::tuple{-0.1, 154, 172}}) {
        Picture source = Filled(200, 200, kGrey);
        SetAt(source, markerX, markerY, kMarker);
        const Picture out = Distort(source, k);
        EXPECT_EQ(out.At(160, 180), kMarker) << k;
        EXPECT_EQ(out.At(markerX, markerY), kGrey) << k << ": the marker's own place now shows background";
    }
    // Along the x axis of a 200 x 100 picture (R = 50) the pixel 50 right of the
    // centre reads the source 55 right of it at k = 0.1: a ramp in red tells which.
    Picture ramp = Filled(200, 100, 0);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) SetAt(ramp, x, y, static_cast<uint32_t>(x) << 16);
    }
    EXPECT_EQ(Distort(ramp, 0.1).At(150, 50), 155u << 16);
    EXPECT_EQ(Distort(ramp, -0.1).At(150, 50), 145u << 16);
}

// Barrel on 200 x 200 reads the corner (199, 199) from about 167 from the centre,
// 118 beyond it on each axis: outside, so black, while the centre keeps white.
TEST(LensDistortKernel, PointsBeyondThePictureReadBlack)
{
    const Picture out = Distort(Filled(200, 200, kMarker), 0.1);
    EXPECT_EQ(out.At(199, 199), 0u);
    EXPECT_EQ(out.At(0, 0), 0u);
    EXPECT_EQ(out.At(100, 100), kMarker);
    EXPECT_EQ(out.At(100, 130), kMarker) << "n = 0.3 reads 30.27 up, well inside";
    // Far beyond: a huge coefficient on a long thin picture sends points millions of
    // pixels away, which must still read black.
    const Picture thin = Distort(Filled(4000, 1, kMarker), 1000.0);
    EXPECT_EQ(thin.At(0, 0), 0u);
    EXPECT_EQ(thin.At(3999, 0), 0u);
}

// One row of 5 (cx = 2, cy = 0, R = 0.5) at k = 0.125: the pixel right of the centre
// has n = 2 and source radius 0.5 x (8 x 0.125 + 2) = 1.5, so it takes exactly half
// of source pixels 3 and 4; the one left of the centre half of pixels 0 and 1.
// Halves go to the even neighbour.
TEST(LensDistortKernel, ExactHalvesRoundToEven)
{
    Picture source = Filled(5, 1, 0);
    SetAt(source, 0, 0, 0x00020300u);
    SetAt(source, 1, 0, 0x00030401u);
    SetAt(source, 3, 0, 0x00010200u);
    SetAt(source, 4, 0, 0x00020301u);
    const Picture out = Distort(source, 0.125);
    EXPECT_EQ(out.At(3, 0), 0x00020200u) << "1.5 gives 2, 2.5 gives 2, 0.5 gives 0";
    EXPECT_EQ(out.At(1, 0), 0x00020400u) << "2.5 gives 2, 3.5 gives 4, 0.5 gives 0";
    EXPECT_EQ(out.At(4, 0), 0u) << "n = 4 reads 6 right of the centre";
}

TEST(LensDistortKernel, EveryPixelFollowsThePlainReference)
{
    unsigned seed = 7;
    for (const auto& [width, height] : {std::pair{1, 1}, std::pair{3, 5}, std::pair{7, 3}, std::pair{9, 9},
                                        std::pair{11, 6}, std::pair{1, 13}, std::pair{31, 17}, std::pair{64, 48}}) {
        const Picture source = RandomPicture(width, height, ++seed);
        for (const double k : {-0.1, -0.0374, 0.0002, 0.05, 0.1, 0.73, -3.0}) {
            const Picture expected = lens_reference::Distorted(source, k);
            const Picture out = Distort(source, k);
            for (size_t i = 0; i < out.pixels.size(); ++i)
                ASSERT_EQ(out.pixels[i], expected.pixels[i])
                    << width << "x" << height << " k " << k << " pixel " << i % static_cast<size_t>(width) << ","
                    << i / static_cast<size_t>(width);
        }
    }
}

// Rows go in pairs outwards from the centre row (2 of 0 .. 4), each report giving the
// rows written before the next pair.
TEST(LensDistortKernel, ReportsTheRowsWrittenBeforeEachPairAndStopsWhereTold)
{
    Picture source = RandomPicture(6, 5, 3);
    const Picture whole = Distort(source, 0.08);
    std::vector<std::pair<int, int>> reports;
    Picture target = Filled(6, 5, 0xDEADBEEFu);
    const UnitReport stopAtThree = [&](int done, int total) {
        reports.emplace_back(done, total);
        return done < 3;
    };
    EXPECT_FALSE(DistortLens(RowsOf(source), RowsOf(target), 0.08, stopAtThree));
    EXPECT_EQ(reports, (std::vector<std::pair<int, int>>{{0, 5}, {1, 5}, {3, 5}}));
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(target.At(x, y), y >= 1 && y <= 3 ? whole.At(x, y) : 0xDEADBEEFu) << x << "," << y;
    }
}

// The vector loop on every width from 1 to 19 (all remainders of four, the centre in
// each lane), rows padded beyond the width, coefficients inside and far outside the
// dialog's range, and ones that send points to infinity or NaN.
TEST(LensDistortKernel, TheVectorLoopGivesThePortableBits)
{
    if (!__builtin_cpu_supports("avx2")) GTEST_SKIP() << "no AVX2 on this processor";
    unsigned seed = 40;
    for (int width = 1; width <= 19; ++width) {
        for (const int height : {1, 2, 5, 8}) {
            // Four pixels of padding after each row, left as they are by both loops.
            Picture source = RandomPicture(width + 4, height, ++seed);
            PixelRows sourceRows = RowsOf(source);
            sourceRows.width = width;
            for (const double k : {-0.1, -0.0374, 0.0, 0.05, 0.1, 0.73, -3.0, 1e300,
                                   std::numeric_limits<double>::quiet_NaN()}) {
                Picture portable = Filled(width + 4, height, 0xDEADBEEFu);
                Picture vector = Filled(width + 4, height, 0xDEADBEEFu);
                PixelRows portableRows = RowsOf(portable);
                PixelRows vectorRows = RowsOf(vector);
                portableRows.width = vectorRows.width = width;
                ASSERT_TRUE(DistortLensWith(sourceRows, portableRows, k, {}, &LensRowPairPortable, 1));
                ASSERT_TRUE(DistortLensWith(sourceRows, vectorRows, k, {}, &LensRowPairAvx2, 1));
                ASSERT_EQ(vector.pixels, portable.pixels) << width << "x" << height << " k " << k;
            }
        }
    }
    // A photo-sized picture at the dialog's ends, on one thread and on several.
    const Picture large = RandomPicture(301, 203, 99);
    for (const double k : {-0.1, 0.1}) {
        Picture source = large;
        Picture portable = Filled(301, 203, 0);
        ASSERT_TRUE(DistortLensWith(RowsOf(source), RowsOf(portable), k, {}, &LensRowPairPortable, 1));
        for (const int threads : {1, 2, 3}) {
            Picture vector = Filled(301, 203, 0);
            ASSERT_TRUE(DistortLensWith(RowsOf(source), RowsOf(vector), k, {}, &LensRowPairAvx2, threads));
            EXPECT_EQ(vector.pixels, portable.pixels) << k << ", " << threads << " threads";
        }
    }
}

// Each pair loop writes exactly rows cy + dy and cy - dy, whole, with the portable
// bits, on widths around the blocks of four on each side of the centre column.
TEST(LensDistortKernel, ThePairLoopsWriteTheirTwoRowsAndNothingElse)
{
    if (!__builtin_cpu_supports("avx2")) GTEST_SKIP() << "no AVX2 on this processor";
    for (const int width : {1, 2, 3, 7, 8, 9, 15, 16, 17, 37}) {
        const int height = 9;
        Picture source = RandomPicture(width, height, static_cast<unsigned>(width));
        const LensGeometry geometry{width / 2, height / 2, std::min(width, height) * 0.5, 0.07};
        for (int dy = 0; dy <= 5; ++dy) {
            Picture portable = Filled(width, height, 0xDEADBEEFu);
            Picture vector = Filled(width, height, 0xDEADBEEFu);
            LensRowPairPortable(RowsOf(source), geometry, dy, RowsOf(portable));
            LensRowPairAvx2(RowsOf(source), geometry, dy, RowsOf(vector));
            ASSERT_EQ(vector.pixels, portable.pixels) << width << " wide, dy " << dy;
            for (int y = 0; y < height; ++y) {
                const bool written = y == geometry.cy + dy || y == geometry.cy - dy;
                for (int x = 0; x < width; ++x) {
                    ASSERT_EQ(portable.At(x, y) == 0xDEADBEEFu, !written)
                        << width << " wide, dy " << dy << " at " << x << "," << y;
                }
            }
        }
    }
}
