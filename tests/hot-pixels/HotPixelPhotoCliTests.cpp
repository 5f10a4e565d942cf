// Hot pixels planted in real photos, fixed through the command-line tool as a user
// does it. The whole result is held to the rules worked by plain references: the
// hot pixels found on the noise-reduced copy (the noise engine has tests of its
// own), those far enough apart, and each one's diamond rebuilt. The photos have
// bright specks of their own that the rules take for hot pixels, so the photo
// without planted ones is held to the same references first.

#include "tests/CliRunner.h"
#include "tests/hot-pixels/HotPixelPictures.h"
#include "tests/hot-pixels/HotPixelReference.h"

#include "filters/shared/noise/NoiseEngine.h"

#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace hot_pixel_pictures;
namespace ref = hot_pixel_reference;

constexpr int kIntensity = 60;

struct Planted {
    int x;  // picture coordinates, y from the top
    int y;
    uint32_t colour;
};

uint32_t ColourAt(const QImage& image, int x, int y)
{
    return reinterpret_cast<const uint32_t*>(image.constScanLine(y))[x] & 0x00FFFFFFu;
}

int MeanOfColour(uint32_t colour)
{
    return static_cast<int>(Keyed(colour) >> 24);
}

// The picture's pixels with section rows, row 0 at the bottom.
Picture SectionOf(const QImage& image)
{
    Picture picture(image.width(), image.height(), 0);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) picture.At(x, image.height() - 1 - y) = ColourAt(image, x, y);
    }
    return picture;
}

struct RulesOutcome {
    std::vector<ref::Place> candidates;
    std::vector<ref::Place> kept;
    Picture fixed{1, 1, 0};
};

// What the rules make of a picture at the default intensity.
RulesOutcome FixedByTheRules(const Picture& picture)
{
    RulesOutcome outcome;
    Picture copy = picture;
    NoiseLevels levels;
    EXPECT_TRUE(ReduceNoiseOfWhole(copy.Rows(), {}, true, levels, {.smoothness = 3, .channelSwitch = 0, .divisorSwitch = 1},
                                   {.blockSize = 20, .blockValueMode = 1}));
    Picture keyedCopy = copy.Keys();
    outcome.candidates = ref::Candidates(keyedCopy.Rows(), kIntensity);
    outcome.kept = ref::Isolated(outcome.candidates, picture.width, picture.height);
    outcome.fixed = picture.Keys();
    for (const ref::Place& place : outcome.kept) ref::Repair(outcome.fixed.Rows(), place.x, place.y);
    for (uint32_t& pixel : outcome.fixed.pixels) pixel &= 0x00FFFFFFu;
    return outcome;
}

// The pixels where written differs from expected, the first few named.
int Mismatches(const QImage& written, const Picture& expected, const std::string& label)
{
    const Picture section = SectionOf(written);
    int count = 0;
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            if (section.At(x, y) == expected.At(x, y)) continue;
            if (++count <= 3) ADD_FAILURE() << label << ": column " << x << ", section row " << y;
        }
    }
    return count;
}

// Places on a coarse grid where a dot of the colour outshines everything within 8 by
// a margin (the noise reduction softens it a little), farther than 30 from the
// photo's own candidates and from each other, so that isolation keeps them all.
// Pure red, green and blue need darker places than yellow, yellow than white.
std::vector<Planted> ChoosePlaces(const Picture& photo, const std::vector<ref::Place>& own)
{
    constexpr std::array<uint32_t, 5> kColours{Rgb(255, 0, 0), Rgb(255, 255, 0), Rgb(0, 255, 0), Rgb(0, 0, 255),
                                               Rgb(255, 0, 255)};
    constexpr int kClearance = 30;
    std::vector<Planted> planted;
    size_t next = 0;
    for (int y = 12; y < photo.height - 12; y += 23) {
        for (int x = 12; x < photo.width - 12; x += 29) {
            const int row = photo.height - 1 - y;
            const auto far = [&](int px, int prow) { return std::abs(x - px) + std::abs(row - prow) > kClearance; };
            if (!std::all_of(own.begin(), own.end(), [&](const ref::Place& p) { return far(p.x, p.y); }) ||
                !std::all_of(planted.begin(), planted.end(),
                             [&](const Planted& p) { return far(p.x, photo.height - 1 - p.y); })) {
                continue;
            }
            int brightest = 0;
            for (int dy = -8; dy <= 8; ++dy) {
                for (int dx = -8; dx <= 8; ++dx) brightest = std::max(brightest, MeanOfColour(photo.At(x + dx, row + dy)));
            }
            uint32_t colour = kColours[next % kColours.size()];
            if (MeanOfColour(colour) <= brightest + 90) colour = kWhite;
            if (MeanOfColour(colour) <= brightest + 90) continue;
            planted.push_back({x, y, colour});
            ++next;
        }
    }
    return planted;
}

class HotPixelPhoto : public ::testing::TestWithParam<const char*> {};

} // namespace

TEST_P(HotPixelPhoto, PlantedHotPixelsAreRepairedAndEveryPixelIsAsTheRulesSay)
{
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const QImage photo = SamplePhoto(GetParam());
    ASSERT_FALSE(photo.isNull());
    const QString in = directory.filePath(QStringLiteral("in.png"));
    const QString alonePath = directory.filePath(QStringLiteral("alone.png"));
    ASSERT_TRUE(photo.save(in));
    const RunResult aloneRun = RunCli({"apply", "Hot Pixel Fixer", in, alonePath, "--quiet"});
    ASSERT_EQ(aloneRun.exitCode, 0) << Describe(aloneRun);
    const RulesOutcome own = FixedByTheRules(SectionOf(photo));
    EXPECT_EQ(Mismatches(QImage(alonePath).convertToFormat(QImage::Format_RGB32), own.fixed, "the photo alone"), 0);

    const std::vector<Planted> planted = ChoosePlaces(SectionOf(photo), own.candidates);
    ASSERT_GE(planted.size(), 10u);
    QImage dotted = photo;
    for (const Planted& p : planted) dotted.setPixel(p.x, p.y, 0xFF000000u | p.colour);
    const QString dottedPath = directory.filePath(QStringLiteral("dotted.png"));
    const QString fixedPath = directory.filePath(QStringLiteral("fixed.png"));
    ASSERT_TRUE(dotted.save(dottedPath));
    const RunResult run = RunCli({"apply", "Hot Pixel Fixer", dottedPath, fixedPath, "--set", "HotPixelFixerIntensity=60"});
    ASSERT_EQ(run.exitCode, 0) << Describe(run);
    const QImage fixed = Pixels(fixedPath);

    const RulesOutcome rules = FixedByTheRules(SectionOf(dotted));
    EXPECT_EQ(Mismatches(fixed, rules.fixed, "with planted dots"), 0);
    int repaired = 0;
    for (const Planted& p : planted) {
        const bool kept = std::any_of(rules.kept.begin(), rules.kept.end(), [&](const ref::Place& place) {
            return place.x == p.x && place.y == photo.height() - 1 - p.y;
        });
        EXPECT_TRUE(kept) << p.x << ", " << p.y;
        repaired += ColourAt(fixed, p.x, p.y) != p.colour;
    }
    EXPECT_EQ(repaired, static_cast<int>(planted.size()));
}

INSTANTIATE_TEST_SUITE_P(Samples, HotPixelPhoto, ::testing::Values("home.jpg", "fruits.jpg"));
