// The thin edge map of the straightening detection on hand-made gradients: which
// pixel of a plateau survives along each direction, the interpolated diagonal case,
// the rounding of the stored magnitude, the borders and the binarisation.

#include "filters/shared/straightening/EdgeMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace {

// Gradient planes from each pixel's magnitude and direction (ux, uy), a unit vector.
struct Gradient {
    float magnitude;
    float ux;
    float uy;
};

GradientPlanes PlanesOf(int width, int height, const std::function<Gradient(int, int)>& at)
{
    GradientPlanes planes{WorkingPlane<float>(width, height), WorkingPlane<float>(width, height),
                          WorkingPlane<float>(width, height)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Gradient g = at(x, y);
            planes.horizontal.At(x, y) = g.magnitude * g.ux;
            planes.vertical.At(x, y) = g.magnitude * g.uy;
            planes.magnitude.At(x, y) = g.magnitude;
        }
    }
    return planes;
}

WorkingPlane<uint8_t> Suppressed(const GradientPlanes& planes)
{
    StageProgress progress({}, 0);
    WorkingPlane<uint8_t> edges;
    EXPECT_TRUE(SuppressNonMaxima(planes, edges, progress));
    return edges;
}

std::vector<uint8_t> RowOf(const WorkingPlane<uint8_t>& plane, int y)
{
    return {plane.Row(y), plane.Row(y) + plane.width};
}

} // namespace

TEST(EdgeMap, APlateauKeepsThePixelWhoseForwardNeighbourIsLower)
{
    // Along the gradient the forward neighbour must be lower and the backward one at
    // most equal, so of two equal pixels the one further along survives. The outer rows
    // are 0 whatever their magnitude.
    const float ridge[7] = {0, 5, 20, 20, 5, 0, 0};
    for (const float ux : {1.0f, -1.0f}) {
        const WorkingPlane<uint8_t> edges =
            Suppressed(PlanesOf(7, 3, [&](int x, int y) { return Gradient{y == 1 ? ridge[x] : 90.0f, ux, 0.0f}; }));
        const std::vector<uint8_t> expected =
            ux > 0 ? std::vector<uint8_t>{0, 0, 0, 20, 0, 0, 0} : std::vector<uint8_t>{0, 0, 20, 0, 0, 0, 0};
        EXPECT_EQ(RowOf(edges, 1), expected) << "ux " << ux;
        EXPECT_EQ(RowOf(edges, 0), std::vector<uint8_t>(7, 0));
        EXPECT_EQ(RowOf(edges, 2), std::vector<uint8_t>(7, 0));
    }
}

TEST(EdgeMap, ADiagonalRidgeIsFoundBetweenPixels)
{
    // Gradient at 45 degrees: the neighbours are interpolated. On the ridge x == y
    // (30) one step along the gradient gives 0.0858 x 30 + 2 x 0.2071 x 5 + 0.5 x 30
    // = 19.6; beside it (5) the ridge pulls the interpolated value above 5.
    const float d = std::sqrt(0.5f);
    const WorkingPlane<uint8_t> edges =
        Suppressed(PlanesOf(8, 8, [&](int x, int y) { return Gradient{x == y ? 30.0f : 5.0f, d, d}; }));
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool inner = x > 0 && y > 0 && x < 7 && y < 7;
            EXPECT_EQ(edges.At(x, y), inner && x == y ? 30 : 0) << x << "," << y;
        }
    }
}

TEST(EdgeMap, StoredMagnitudesAreRoundedAndHeldAt255)
{
    // Lone maxima, one per row, with 0 on either side along the gradient.
    const float peaks[7] = {90.0f, 0.5f, 0.6f, 12.4f, 12.6f, 300.0f, 90.0f};
    const WorkingPlane<uint8_t> edges =
        Suppressed(PlanesOf(3, 7, [&](int x, int y) { return Gradient{x == 1 ? peaks[y] : 0.0f, 1.0f, 0.0f}; }));
    const uint8_t expected[7] = {0, 0, 1, 12, 13, 255, 0};
    for (int y = 0; y < 7; ++y) EXPECT_EQ(edges.At(1, y), expected[y]) << "row " << y;
}

TEST(EdgeMap, BinarisationKeepsValuesFromTheThresholdOn)
{
    WorkingPlane<uint8_t> edges(6, 2);
    const uint8_t values[6] = {0, 9, 10, 11, 255, 100};
    for (int x = 0; x < 6; ++x) edges.At(x, 1) = values[x];
    StageProgress progress({}, 0);
    ASSERT_TRUE(BinariseEdges(edges, 10, progress));
    EXPECT_EQ(RowOf(edges, 1), (std::vector<uint8_t>{0, 0, 255, 255, 255, 255}));
    EXPECT_EQ(RowOf(edges, 0), std::vector<uint8_t>(6, 0));
    EXPECT_EQ(progress.Done(), 2);
}

TEST(EdgeMap, BothStagesCountOneUnitPerRowAndStop)
{
    const GradientPlanes planes = PlanesOf(5, 6, [](int, int) { return Gradient{1.0f, 1.0f, 0.0f}; });
    WorkingPlane<uint8_t> edges;
    StageProgress progress({}, 0);
    ASSERT_TRUE(SuppressNonMaxima(planes, edges, progress));
    EXPECT_EQ(progress.Done(), 6);
    StageProgress stopped([](int done, int) { return done < 2; }, 0);
    EXPECT_FALSE(SuppressNonMaxima(planes, edges, stopped));
    EXPECT_FALSE(BinariseEdges(edges, 10, stopped));
}
