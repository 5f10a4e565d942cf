// Autofix through the command-line tool on the bundled photo, one fix at a time.
// The photo is 512 x 480, so the colour-cast detection reads it whole. Expected
// pixels: the stretch of the photo's own limits, the gains rounded to the nearest
// level, and the free rotation run here by the exact angle.

#include "tests/CliRunner.h"
#include "tests/autofix/AutofixTestSupport.h"

#include "filters/autofix/AutofixExposureFix.h"
#include "filters/shared/color-cast/ColorCast.h"
#include "refhost/ImageConversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace {

SamplePhotoRun AutofixOnThePhoto(const Fixes& fixes)
{
    const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    return ApplyToSamplePhoto(QStringLiteral("Autofix Image"),
                              {QStringLiteral("AutofixColor=") + flag(fixes.color),
                               QStringLiteral("AutofixExposure=") + flag(fixes.exposure),
                               QStringLiteral("AutofixNoise=") + flag(fixes.noise),
                               QStringLiteral("AutofixRotate=") + flag(fixes.rotation)});
}

// Every pixel of written is the photo's with each channel mapped by its own level map.
void ExpectEveryChannelMapped(const SamplePhotoRun& sample, const std::function<int(int)>& red,
                              const std::function<int(int)>& green, const std::function<int(int)>& blue)
{
    ASSERT_EQ(sample.written.size(), sample.photo.size());
    int differing = 0;
    for (int y = 0; y < sample.photo.height(); ++y) {
        for (int x = 0; x < sample.photo.width(); ++x) {
            const QRgb p = sample.photo.pixel(x, y);
            if (sample.written.pixel(x, y) != qRgb(red(qRed(p)), green(qGreen(p)), blue(qBlue(p)))) ++differing;
        }
    }
    EXPECT_EQ(differing, 0);
}

// The sum of the level steps between horizontal neighbours, over all channels.
long long Roughness(const QImage& picture)
{
    long long sum = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 1; x < picture.width(); ++x) {
            const QRgb a = picture.pixel(x - 1, y);
            const QRgb b = picture.pixel(x, y);
            sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
        }
    }
    return sum;
}

} // namespace

TEST(AutofixCli, TheExposureFixAloneStretchesThePhotosLimits)
{
    const SamplePhotoRun sample = AutofixOnThePhoto({.exposure = true});
    ASSERT_EQ(sample.run.exitCode, 0) << Describe(sample.run);
    std::array<uint32_t, 256> luminance{};
    for (int y = 0; y < sample.photo.height(); ++y) {
        for (int x = 0; x < sample.photo.width(); ++x) {
            const QRgb p = sample.photo.pixel(x, y);
            ++luminance[(306 * qRed(p) + 601 * qGreen(p) + 117 * qBlue(p)) >> 10];
        }
    }
    const ExposureFixLimits limits = FindExposureFixLimits(luminance.data());
    const double m = 255.0 / (limits.right - limits.left);
    const double b = -limits.left * m;
    const auto level = [&](int i) { return static_cast<int>(std::clamp(i * m + b, 0.0, 255.0)); };
    ExpectEveryChannelMapped(sample, level, level, level);
}

TEST(AutofixCli, TheColorFixAloneAppliesThePhotosGains)
{
    const SamplePhotoRun sample = AutofixOnThePhoto({.color = true});
    ASSERT_EQ(sample.run.exitCode, 0) << Describe(sample.run);
    // The detection reads section rows, bottom row first, as the tool holds the photo.
    const auto held = CComPtr<CHostImage>::Adopt(ImageFromQImage(sample.photo));
    ColorCastFactors gains;
    ASSERT_TRUE(AnalyseColorCast(RowsOf(held.Get()), {}, gains));
    const auto gained = [](double gain) {
        return [gain](int i) { return static_cast<int>(std::clamp(i * gain, 0.0, 255.0) + 0.5); };
    };
    ExpectEveryChannelMapped(sample, gained(gains.red), gained(gains.green), gained(gains.blue));
}

// The engine is tested on its own; here the photo keeps its size and comes out
// smoother, and no pixel moves far.
TEST(AutofixCli, TheNoiseFixAloneSmoothsThePhoto)
{
    const SamplePhotoRun sample = AutofixOnThePhoto({.noise = true});
    ASSERT_EQ(sample.run.exitCode, 0) << Describe(sample.run);
    ASSERT_EQ(sample.written.size(), sample.photo.size());
    EXPECT_NE(sample.written, sample.photo);
    EXPECT_LT(Roughness(sample.written), Roughness(sample.photo));
}

class AutofixCliRotation : public AutofixWithHost {};

TEST_F(AutofixCliRotation, TheRotationFixAloneTurnsThePhotoByItsExactTilt)
{
    const SamplePhotoRun sample = AutofixOnThePhoto({.rotation = true});
    ASSERT_EQ(sample.run.exitCode, 0) << Describe(sample.run);
    ASSERT_EQ(sample.written.size(), sample.photo.size());

    const auto held = CComPtr<CHostImage>::Adopt(ImageFromQImage(sample.photo));
    const CComPtr<IImage> turned = TurnedAgainstItsTilt(held.Get());
    ASSERT_TRUE(turned);
    EXPECT_EQ(sample.written, QImageFromImage(turned.Get(), false).convertToFormat(QImage::Format_RGB32))
        << "turned by the negated tilt of " << Degrees(DetectedTilt(held.Get())) << " degrees";
}
