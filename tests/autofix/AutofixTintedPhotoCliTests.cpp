// A photo taken under coloured light, as a photographer meets it: the test tints a
// real photo by known channel gains, runs the command-line tool's colour fix on it
// (exposure off, so that only the colour moves) and expects a picture nearer to the
// photo as it was. Colour balance's own "Autofix Color Cast" is a dialog button the
// tool cannot press, so Autofix is the route tested here.
//
// Nearer means both: the ratios of the red and blue means to the green mean move
// back towards the photo's own, and the mean level difference to the photo drops.
// The fix also corrects whatever the detection sees as the photo's own cast, so the
// result is not the photo itself; it must only lie nearer to it than the tinted one.
//
// The detection takes the fifth of the pixels nearest to grey as the light's colour.
// A cool light turns these warm-toned photos' own warm surfaces grey and is
// therefore not undone; on the baboon's fur neither a warm nor a cool light is.
// Such lights are not among the cases.

#include "tests/CliRunner.h"
#include "tests/shared/straightening/KnownTilts.h"

#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

struct Light {
    double red;
    double green;
    double blue;
};

// The warm light of a tungsten lamp, and the magenta of a filter against a green
// fluorescent tube, overdone.
constexpr Light kWarm{1.15, 1.0, 0.85};
constexpr Light kMagenta{1.1, 0.9, 1.1};

int Lit(int level, double gain)
{
    return std::clamp(static_cast<int>(std::lround(level * gain)), 0, 255);
}

QImage Tinted(const QImage& photo, const Light& light)
{
    QImage tinted(photo.size(), QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        for (int x = 0; x < photo.width(); ++x) {
            const QRgb p = photo.pixel(x, y);
            tinted.setPixel(x, y, qRgb(Lit(qRed(p), light.red), Lit(qGreen(p), light.green), Lit(qBlue(p), light.blue)));
        }
    }
    return tinted;
}

std::array<double, 3> ChannelMeans(const QImage& picture)
{
    std::array<double, 3> sums{0.0, 0.0, 0.0};
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            sums[0] += qRed(p);
            sums[1] += qGreen(p);
            sums[2] += qBlue(p);
        }
    }
    const double count = static_cast<double>(picture.width()) * picture.height();
    return {sums[0] / count, sums[1] / count, sums[2] / count};
}

// How far the balance of a picture lies from the photo's: the red-to-green and
// blue-to-green ratios of the channel means, their differences added.
double BalanceDistance(const QImage& picture, const QImage& photo)
{
    const std::array<double, 3> a = ChannelMeans(picture);
    const std::array<double, 3> b = ChannelMeans(photo);
    return std::abs(a[0] / a[1] - b[0] / b[1]) + std::abs(a[2] / a[1] - b[2] / b[1]);
}

// The mean absolute level difference per channel of every pixel.
double MeanLevelDifference(const QImage& picture, const QImage& photo)
{
    double sum = 0.0;
    for (int y = 0; y < photo.height(); ++y) {
        for (int x = 0; x < photo.width(); ++x) {
            const QRgb a = picture.pixel(x, y);
            const QRgb b = photo.pixel(x, y);
            sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
        }
    }
    return sum / (3.0 * photo.width() * photo.height());
}

// The photo under light, through the tool's colour fix, compared with the photo.
void ExpectTheTintUndone(const QImage& photo, const Light& light, const std::string& what)
{
    ASSERT_FALSE(photo.isNull()) << what;
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const QString tintedPath = directory.filePath(QStringLiteral("tinted.png"));
    const QString fixedPath = directory.filePath(QStringLiteral("out.png"));
    const QImage tinted = Tinted(photo, light);
    ASSERT_TRUE(tinted.save(tintedPath));

    const RunResult run = RunCli({QStringLiteral("apply"), QStringLiteral("Autofix Image"), tintedPath, fixedPath,
                                  QStringLiteral("--set"), QStringLiteral("AutofixColor=1"), QStringLiteral("--set"),
                                  QStringLiteral("AutofixExposure=0"), QStringLiteral("--quiet")});
    ASSERT_EQ(run.exitCode, 0) << what << "\n" << Describe(run);
    const QImage fixed = Pixels(fixedPath);
    ASSERT_EQ(fixed.size(), photo.size()) << what;

    const double tintedBalance = BalanceDistance(tinted, photo);
    const double fixedBalance = BalanceDistance(fixed, photo);
    const double tintedDifference = MeanLevelDifference(tinted, photo);
    const double fixedDifference = MeanLevelDifference(fixed, photo);
    EXPECT_LT(fixedBalance, tintedBalance) << what;
    EXPECT_LT(fixedDifference, tintedDifference) << what;
}

} // namespace

TEST(AutofixTintedPhotoCli, TheBundledPhotosComeBackNearerToTheirOwnColours)
{
    for (const char* name : {"fruits.jpg", "home.jpg"}) {
        const QImage photo = SamplePhoto(name);
        ExpectTheTintUndone(photo, kWarm, std::string(name) + " under warm light");
        ExpectTheTintUndone(photo, kMagenta, std::string(name) + " under magenta light");
    }
}

TEST(AutofixTintedPhotoCli, TheSharedPhotosComeBackNearerToTheirOwnColours)
{
    if (!QDir(QStringLiteral(BF_SOURCE_DIR "/../shared/photos")).exists()) {
        GTEST_SKIP() << "the shared photos are not beside the source tree";
    }
    const QImage plant = SharedPhoto("plant.jpg");
    ExpectTheTintUndone(plant, kWarm, "plant.jpg under warm light");
    ExpectTheTintUndone(plant, kMagenta, "plant.jpg under magenta light");
    ExpectTheTintUndone(SharedPhoto("baboon.jpg"), kMagenta, "baboon.jpg under magenta light");
}
