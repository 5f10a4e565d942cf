// Color Balance through the command-line tool on the bundled photo, in both modes,
// with the settings the tool completes from the declared start values.

#include "tests/CliRunner.h"
#include "tests/color-balance/ColorBalanceReference.h"

#include <gtest/gtest.h>

namespace {

namespace reference = color_balance_reference;

// The pixels of the written photo that differ from expected(photo pixel), compared
// on red, green and blue.
template <class Expected>
int Differing(const SamplePhotoRun& sample, Expected expected)
{
    int differing = 0;
    for (int y = 0; y < sample.photo.height(); ++y) {
        for (int x = 0; x < sample.photo.width(); ++x) {
            const QRgb written = sample.written.pixel(x, y);
            if ((written & 0xFFFFFFu) != (expected(sample.photo.pixel(x, y)) & 0xFFFFFFu)) ++differing;
        }
    }
    return differing;
}

} // namespace

TEST(ColorBalanceCli, RgbGainsOnAPhoto)
{
    const SamplePhotoRun sample = ApplyToSamplePhoto(
        QStringLiteral("Color Balance"),
        {QStringLiteral("active=RGB"), QStringLiteral("red=120"), QStringLiteral("blue=85")});
    ASSERT_EQ(sample.run.exitCode, 0) << Describe(sample.run);
    EXPECT_TRUE(sample.run.err.contains("green=100")) << "the start value used is named: " << Describe(sample.run);
    ASSERT_FALSE(sample.photo.isNull());
    ASSERT_EQ(sample.written.size(), sample.photo.size());
    EXPECT_EQ(Differing(sample, [](QRgb pixel) {
                  return qRgb(reference::GainEntry(qRed(pixel), 120), qGreen(pixel),
                              reference::GainEntry(qBlue(pixel), 85));
              }),
              0);
}

TEST(ColorBalanceCli, HslRotationOnAPhoto)
{
    const SamplePhotoRun sample =
        ApplyToSamplePhoto(QStringLiteral("Color Balance"), {QStringLiteral("active=HSL"), QStringLiteral("hue=30")});
    ASSERT_EQ(sample.run.exitCode, 0) << Describe(sample.run);
    EXPECT_TRUE(sample.run.err.contains("saturation=1.000000 lightness=1.000000")) << Describe(sample.run);
    ASSERT_EQ(sample.written.size(), sample.photo.size());
    EXPECT_EQ(Differing(sample, [](QRgb pixel) { return reference::HslPixel(pixel, 30.0, 1.0, 1.0); }), 0);
}

TEST(ColorBalanceCli, HelpNamesBothModesAndTheirKeys)
{
    const RunResult run = RunCli({QStringLiteral("help"), QStringLiteral("Color Balance")});
    ASSERT_EQ(run.exitCode, 0) << Describe(run);
    const QString text = QString::fromUtf8(run.out);
    EXPECT_TRUE(text.contains(QStringLiteral("page: RGB or HSL, default RGB"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral(" with active=RGB:"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral(" with active=HSL:"))) << text.toStdString();
    for (const char* key : {"red", "green", "blue", "hue", "saturation", "lightness"}) {
        EXPECT_TRUE(text.contains(QStringLiteral("  %1 ").arg(QLatin1String(key)))) << key;
    }
}
