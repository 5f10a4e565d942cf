// The recursive Gaussian filters of the straightening detection: one line against
// the recursion written out with its omitted terms, what each coefficient set does to
// constants and ramps, and which set runs along which axis for each gradient.

#include "filters/shared/straightening/RecursiveGaussian.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

// The rules' recursion: the line padded with copies of its end values, the forward
// and backward runs with every term before the start or past the end left out, the
// padding dropped from their sum.
std::vector<float> ReferenceFilter(const std::vector<float>& line, const RecursiveCoefficients& c, int padding)
{
    const size_t p = static_cast<size_t>(std::max(padding, 0));
    std::vector<float> x(p, line.front());
    x.insert(x.end(), line.begin(), line.end());
    x.insert(x.end(), p, line.back());
    const int n = static_cast<int>(x.size());
    const auto at = [](const std::vector<float>& v, int i) { return v[static_cast<size_t>(i)]; };
    std::vector<float> forward(x.size());
    for (int i = 0; i < n; ++i) {
        float sum = c.causal[0] * at(x, i);
        for (int k = 1; k <= 3; ++k) {
            if (i - k >= 0) sum = sum + c.causal[k] * at(x, i - k);
        }
        for (int k = 1; k <= 4; ++k) {
            if (i - k >= 0) sum = sum - c.feedback[k - 1] * at(forward, i - k);
        }
        forward[static_cast<size_t>(i)] = sum;
    }
    std::vector<float> backward(x.size());
    for (int i = n - 1; i >= 0; --i) {
        float sum = 0.0f;
        for (int k = 1; k <= 4; ++k) {
            if (i + k < n) sum = sum + c.anticausal[k - 1] * at(x, i + k);
        }
        for (int k = 1; k <= 4; ++k) {
            if (i + k < n) sum = sum - c.feedback[k - 1] * at(backward, i + k);
        }
        backward[static_cast<size_t>(i)] = sum;
    }
    std::vector<float> out;
    for (size_t i = p; i < p + line.size(); ++i) out.push_back(forward[i] + backward[i]);
    return out;
}

std::vector<float> Filtered(const std::vector<float>& line, const RecursiveCoefficients& c, int padding)
{
    std::vector<float> out(line.size());
    RecursiveLineFilter filter(c, padding);
    filter.Run(line.data(), 1, static_cast<int>(line.size()), out.data(), 1);
    return out;
}

WorkingPlane<uint8_t> RandomPlane(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    WorkingPlane<uint8_t> plane(width, height);
    for (uint8_t& value : plane.values) value = static_cast<uint8_t>(random());
    return plane;
}

// Every row filtered with one set, then every column of that with the other, by the
// reference recursion.
std::vector<float> ReferencePlane(const WorkingPlane<uint8_t>& plane, const RecursiveCoefficients& rowSet,
                                  const RecursiveCoefficients& columnSet, int padding)
{
    const auto w = static_cast<size_t>(plane.width);
    const auto h = static_cast<size_t>(plane.height);
    std::vector<float> rows(w * h);
    for (size_t y = 0; y < h; ++y) {
        const std::vector<float> line(plane.values.begin() + static_cast<ptrdiff_t>(y * w),
                                      plane.values.begin() + static_cast<ptrdiff_t>((y + 1) * w));
        const std::vector<float> out = ReferenceFilter(line, rowSet, padding);
        std::copy(out.begin(), out.end(), rows.begin() + static_cast<ptrdiff_t>(y * w));
    }
    std::vector<float> result(w * h);
    for (size_t x = 0; x < w; ++x) {
        std::vector<float> column;
        for (size_t y = 0; y < h; ++y) column.push_back(rows[y * w + x]);
        const std::vector<float> out = ReferenceFilter(column, columnSet, padding);
        for (size_t y = 0; y < h; ++y) result[y * w + x] = out[y];
    }
    return result;
}

} // namespace

TEST(RecursiveGaussian, LineMatchesTheRecursionWithOmittedTerms)
{
    std::mt19937 random(1264);
    for (const int count : {1, 2, 3, 5, 9, 40, 641}) {
        std::vector<float> line(static_cast<size_t>(count));
        for (float& value : line) value = static_cast<float>(random() % 256);
        for (const int padding : {-3, 0, 1, 10}) {
            for (const RecursiveCoefficients* set : {&kSmoothingCoefficients, &kDerivativeCoefficients}) {
                EXPECT_EQ(Filtered(line, *set, padding), ReferenceFilter(line, *set, padding))
                    << count << " samples, padding " << padding;
            }
        }
    }
}

TEST(RecursiveGaussian, SmoothingKeepsLevelsAndTheDerivativeFollowsSlopes)
{
    // The smoothing set keeps a constant level; the derivative set answers a ramp with
    // a constant in proportion to its slope (its own gain, about 5.1 per level and
    // sample) and leaks under a five-hundredth of a level on a constant.
    const std::vector<float> flat(60, 100.0f);
    for (const float value : Filtered(flat, kSmoothingCoefficients, 10)) EXPECT_NEAR(value, 100.0f, 0.1f);
    for (const float value : Filtered(flat, kDerivativeCoefficients, 10)) EXPECT_NEAR(value, 0.0f, 0.2f);

    std::vector<float> gentle(80);
    std::vector<float> steep(80);
    for (size_t i = 0; i < gentle.size(); ++i) {
        gentle[i] = static_cast<float>(i);
        steep[i] = 2.0f * static_cast<float>(i);
    }
    const std::vector<float> gentleSlope = Filtered(gentle, kDerivativeCoefficients, 10);
    const std::vector<float> steepSlope = Filtered(steep, kDerivativeCoefficients, 10);
    const float gain = gentleSlope[40];
    EXPECT_GT(gain, 4.0f);
    // The padded ends bend the ramp, which the long tails of the recursion feel a
    // little even far inside.
    for (size_t i = 15; i < 65; ++i) {
        EXPECT_NEAR(gentleSlope[i], gain, 0.01f * gain) << i;
        EXPECT_NEAR(steepSlope[i], 2.0f * gentleSlope[i], 0.001f * gain) << i;
    }
    const std::vector<float> smooth = Filtered(steep, kSmoothingCoefficients, 10);
    for (size_t i = 15; i < 65; ++i) EXPECT_NEAR(smooth[i], steep[i], 0.05f) << i;
}

TEST(RecursiveGaussian, GradientDifferentiatesRowsForGxAndColumnsForGy)
{
    const WorkingPlane<uint8_t> plane = RandomPlane(23, 17, 5);
    GradientPlanes gradient;
    StageProgress progress({}, 0);
    ASSERT_TRUE(ComputeGradient(plane, 10, gradient, progress));
    EXPECT_EQ(gradient.horizontal.values, ReferencePlane(plane, kDerivativeCoefficients, kSmoothingCoefficients, 10));
    EXPECT_EQ(gradient.vertical.values, ReferencePlane(plane, kSmoothingCoefficients, kDerivativeCoefficients, 10));
    for (size_t i = 0; i < plane.values.size(); ++i) {
        const float gx = gradient.horizontal.values[i];
        const float gy = gradient.vertical.values[i];
        EXPECT_EQ(gradient.magnitude.values[i], std::sqrt(gx * gx + gy * gy));
    }
}

TEST(RecursiveGaussian, AStepAcrossColumnsGivesAHorizontalGradientOnly)
{
    // Dark left, bright right: gx rises to its peak at the step, gy stays at the
    // derivative's leak on each constant column (under 0.2 percent of the level).
    WorkingPlane<uint8_t> plane(40, 30);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) plane.At(x, y) = x < 20 ? 50 : 200;
    }
    GradientPlanes gradient;
    StageProgress progress({}, 0);
    ASSERT_TRUE(ComputeGradient(plane, 10, gradient, progress));
    for (int y = 0; y < 30; ++y) {
        const float* row = gradient.horizontal.Row(y);
        const int peak = static_cast<int>(std::max_element(row, row + 40) - row);
        EXPECT_TRUE(peak == 19 || peak == 20) << y;
        EXPECT_GT(row[peak], 30.0f);
        for (int x = 0; x < 40; ++x) EXPECT_LT(std::fabs(gradient.vertical.At(x, y)), 0.4f);
    }
}

TEST(RecursiveGaussian, CountsEachRowAndColumnOfBothPassesAndStops)
{
    const WorkingPlane<uint8_t> plane = RandomPlane(12, 9, 3);
    GradientPlanes gradient;
    StageProgress progress({}, 0);
    ASSERT_TRUE(ComputeGradient(plane, 10, gradient, progress));
    EXPECT_EQ(progress.Done(), 2 * 9 + 2 * 12);
    StageProgress stopped([](int done, int) { return done != 30; }, 0);
    EXPECT_FALSE(ComputeGradient(plane, 10, gradient, stopped));
    EXPECT_EQ(stopped.Done(), 31);
}
