// What the noise estimate means to a photographer: a flat mid-grey shot with sensor
// noise of a known variance is measured as that variance.
//
// The expected level is worked out from the noise, not from the estimator: Gaussian
// noise of variance s2 rounded to whole levels has the variance s2 + 1/12, and a
// block's variance over its n pixels divided by n is (n - 1) / n of it on average.
// A flat picture holds no detail, so every block is a smooth block, and the mean of
// 768 block variances of 400 pixels has a standard error of about 0.3% of the level;
// the tolerance of 3% leaves room for the search keeping only the most crowded part.

#include "tests/shared/noise/NoiseReference.h"

#include "filters/shared/noise/NoiseEngine.h"
#include "filters/shared/noise/NoiseEstimator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

using noise_reference::Colour;
using noise_reference::Picture;

constexpr int kGrey = 128;
constexpr double kRelativeTolerance = 0.03;
constexpr int kBlockSide = 20;
constexpr double kBlockPixels = kBlockSide * kBlockSide;
constexpr double kRoundingVariance = 1.0 / 12.0;

// Sensor noise: independent in each channel (colour noise), or one draw shared by
// the three (luminance noise).
enum class Grain { Colour, Luminance };

Picture FlatGreyWithNoise(int width, int height, double sigma, Grain grain, unsigned seed)
{
    Picture picture(width, height);
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, sigma);
    const auto level = [&] { return std::clamp(static_cast<int>(std::lround(kGrey + noise(random))), 0, 255); };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int red = level();
            const int green = grain == Grain::Colour ? level() : red;
            const int blue = grain == Grain::Colour ? level() : red;
            picture.At(x, y) = Colour(red, green, blue, 0xFF);
        }
    }
    return picture;
}

// The mean block variance, divided by the block's pixel count, of a channel whose
// values are whole levels of variance continuous plus the rounding's.
double ExpectedBlockVariance(double continuous)
{
    return (continuous + kRoundingVariance) * (kBlockPixels - 1.0) / kBlockPixels;
}

void ExpectNear(const NoiseLevels& levels, const double expected[3], const char* what, double sigma)
{
    for (int channel = 0; channel < 3; ++channel) {
        EXPECT_NEAR(LevelOf(levels, channel), expected[channel], kRelativeTolerance * expected[channel])
            << what << ", sigma " << sigma << ", channel " << channel;
    }
}

NoiseLevels Estimate(Picture& picture, bool luma)
{
    EstimatorInputs inputs;
    inputs.blockSize = kBlockSide;
    inputs.blockValueMode = 1;
    inputs.lumaChannels = luma;
    inputs.divideByCount = true;
    NoiseLevels levels{-1, -1, -1};
    EXPECT_TRUE(EstimateNoiseLevels(picture.Rows(), inputs, {}, levels));
    return levels;
}

// Variance of one channel over the picture, by its own mean.
double PictureVariance(const Picture& picture, int shift)
{
    double sum = 0.0;
    double squares = 0.0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const double value = static_cast<double>(picture.At(x, y) >> shift & 0xFFu);
            sum += value;
            squares += value * value;
        }
    }
    const double count = static_cast<double>(picture.width) * picture.height;
    return squares / count - (sum / count) * (sum / count);
}

} // namespace

TEST(FlatGreyNoise, RedGreenAndBlueRecoverTheNoiseVariance)
{
    unsigned seed = 100;
    for (const Grain grain : {Grain::Colour, Grain::Luminance}) {
        for (const double sigma : {2.0, 5.0, 8.0}) {
            Picture picture = FlatGreyWithNoise(640, 480, sigma, grain, ++seed);
            const double level = ExpectedBlockVariance(sigma * sigma);
            const double expected[3] = {level, level, level};
            ExpectNear(Estimate(picture, false), expected,
                       grain == Grain::Colour ? "colour noise" : "luminance noise", sigma);
        }
    }
}

// In the luma and colour-difference channels each channel is a weighted sum of the
// three noises, whose variance is the sum of the squared weights times each
// channel's, plus the rounding of the shift by 10 bits.
TEST(FlatGreyNoise, LumaAndColourDifferencesRecoverTheirShareOfTheNoise)
{
    const double lumaWeights = (601.0 * 601.0 + 306.0 * 306.0 + 117.0 * 117.0) / (1024.0 * 1024.0);
    const double redDifferenceWeights = (512.0 * 512.0 + 428.0 * 428.0 + 84.0 * 84.0) / (1024.0 * 1024.0);
    const double blueDifferenceWeights = (512.0 * 512.0 + 339.0 * 339.0 + 173.0 * 173.0) / (1024.0 * 1024.0);
    unsigned seed = 200;
    for (const double sigma : {3.0, 5.0, 8.0}) {
        Picture picture = FlatGreyWithNoise(640, 480, sigma, Grain::Colour, ++seed);
        const double channel = sigma * sigma + kRoundingVariance;
        const double expected[3] = {ExpectedBlockVariance(lumaWeights * channel),
                                    ExpectedBlockVariance(redDifferenceWeights * channel),
                                    ExpectedBlockVariance(blueDifferenceWeights * channel)};
        ExpectNear(Estimate(picture, true), expected, "luma channels", sigma);
    }
}

// Through the engine: the levels it hands back are the noise's, and the grain they
// steer is smoothed away. About half of the 7 x 7 windows are flat at that level and
// take their mean (a 49th of the variance); the others keep only the share of their
// spread above the level, so at most a quarter of the variance may be left.
TEST(FlatGreyNoise, TheEngineSmoothsTheGrainItMeasured)
{
    const double sigma = 5.0;
    Picture picture = FlatGreyWithNoise(640, 480, sigma, Grain::Colour, 300);
    NoiseLevels levels;
    ASSERT_TRUE(ReduceNoiseOfWhole(picture.Rows(), {}, true, levels, {}, {}));
    const double level = ExpectedBlockVariance(sigma * sigma);
    const double expected[3] = {level, level, level};
    ExpectNear(levels, expected, "engine", sigma);
    for (const int shift : {16, 8, 0}) {
        EXPECT_LT(PictureVariance(picture, shift), sigma * sigma / 4) << "channel at bit " << shift;
    }
}
