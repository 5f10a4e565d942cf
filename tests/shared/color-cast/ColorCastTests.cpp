// Colour-cast detection: the analysis against a plain reference written from its
// rules, worked cases whose gains follow by hand, the reports it makes, and the
// reduced copy the whole detection analyses for large pictures.

#include "tests/TestSupport.h"

#include "filters/shared/color-cast/ColorCast.h"
#include "filters/shared/pixels/KernelBridge.h"
#include "refhost/RecordingProgress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <new>
#include <numeric>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using Call = CRecordingProgress::Call;
using Reports = std::vector<std::pair<int, int>>;

uint32_t Rgb(int red, int green, int blue)
{
    return 0xFF000000u | static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 |
           static_cast<uint32_t>(blue);
}

struct ReferenceOutcome {
    bool found = false;
    double red = 1.0;
    double green = 1.0;
    double blue = 1.0;
    Reports reports;
};

// The analysis exactly as its rules read, one step after the other, over the pixels
// of the picture in the order of its section rows.
ReferenceOutcome ReferenceAnalysis(CHostImage* picture)
{
    ReferenceOutcome out;
    const int h = picture->Height();
    const double theta0 = std::atan(1.0);
    const double phi0 = std::acos(1.0 / std::sqrt(3.0));
    std::vector<int> keys;
    std::vector<uint32_t> pixels;
    std::vector<double> dThetas;
    std::vector<double> dPhis;
    std::vector<double> weights;
    double sumW = 0.0;
    double sumTheta = 0.0;
    double sumPhi = 0.0;
    for (int y = 0; y < h; ++y) {
        out.reports.emplace_back(y, 4 * h);
        for (int x = 0; x < picture->Width(); ++x) {
            const uint32_t pixel = picture->Row(y)[x];
            const int R = static_cast<int>(pixel >> 16 & 0xFF);
            const int G = static_cast<int>(pixel >> 8 & 0xFF);
            const int B = static_cast<int>(pixel & 0xFF);
            if (R < 25 || R > 230 || G < 25 || G > 230 || B < 25 || B > 230) continue;
            const double rho = std::sqrt(static_cast<double>(G) * G + static_cast<double>(R) * R +
                                         static_cast<double>(B) * B);
            const double dTheta = std::atan2(static_cast<double>(G), static_cast<double>(R)) - theta0;
            const double dPhi = std::acos(B / rho) - phi0;
            const double weight = std::max({R, G, B}) / rho;
            keys.push_back(static_cast<int>((dTheta * dTheta + dPhi * dPhi) * 10000));
            pixels.push_back(pixel);
            dThetas.push_back(dTheta);
            dPhis.push_back(dPhi);
            weights.push_back(weight);
            sumW += weight;
            sumTheta += weight * dTheta;
            sumPhi += weight * dPhi;
        }
    }
    if (keys.empty()) return out;
    const double mTheta = sumTheta / sumW;
    const double mPhi = sumPhi / sumW;
    const double m1 = std::sqrt(mTheta * mTheta + mPhi * mPhi);
    double spreadTheta = 0.0;
    double spreadPhi = 0.0;
    for (size_t i = 0; i < keys.size(); ++i) {
        spreadTheta += weights[i] * ((mTheta - dThetas[i]) * (mTheta - dThetas[i]));
        spreadPhi += weights[i] * ((mPhi - dPhis[i]) * (mPhi - dPhis[i]));
    }
    const double d1 = std::sqrt(spreadTheta / sumW + spreadPhi / sumW);
    out.reports.emplace_back(2 * h, 4 * h);
    if (d1 == 0.0) return out;
    const double q1 = (m1 - d1) / d1;
    if (q1 < -0.75) {
        out.found = true;
        return out;
    }
    std::vector<size_t> order(keys.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[a] < keys[b]; });
    const auto n = static_cast<size_t>(keys.size() * 0.2 + 0.5);
    if (n == 0) return out;
    double w2 = 0.0;
    double t2 = 0.0;
    double p2 = 0.0;
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
    for (size_t k = 0; k < n; ++k) {
        const size_t i = order[k];
        w2 += weights[i];
        t2 += weights[i] * dThetas[i];
        p2 += weights[i] * dPhis[i];
        r += weights[i] * static_cast<double>(pixels[i] >> 16 & 0xFF);
        g += weights[i] * static_cast<double>(pixels[i] >> 8 & 0xFF);
        b += weights[i] * static_cast<double>(pixels[i] & 0xFF);
    }
    const double rMean = r / (w2 * 255);
    const double gMean = g / (w2 * 255);
    const double bMean = b / (w2 * 255);
    out.reports.emplace_back(3 * h, 4 * h);
    const double m2 = std::sqrt((t2 / w2) * (t2 / w2) + (p2 / w2) * (p2 / w2));
    if (q1 < 0.5) {
        double s2Theta = 0.0;
        double s2Phi = 0.0;
        for (size_t k = 0; k < n; ++k) {
            const size_t i = order[k];
            s2Theta += weights[i] * ((t2 / w2 - dThetas[i]) * (t2 / w2 - dThetas[i]));
            s2Phi += weights[i] * ((p2 / w2 - dPhis[i]) * (p2 / w2 - dPhis[i]));
        }
        const double d2 = std::sqrt(s2Theta / w2 + s2Phi / w2);
        out.reports.emplace_back(4 * h, 4 * h);
        if (d2 == 0.0) return out;
        if ((m2 - d2) / d2 < -0.75) {
            out.found = true;
            return out;
        }
    }
    if (rMean < 1e-10 || gMean < 1e-10 || bMean < 1e-10) return out;
    const double a = (rMean + gMean + bMean) / 3;
    out = {true, a / rMean, a / gMean, a / bMean, out.reports};
    return out;
}

struct Analysed {
    bool found = false;
    ColorCastFactors factors;
    Reports reports;
};

Analysed Analyse(CHostImage* picture, int stopAt = -1)
{
    Analysed out;
    const UnitReport report = [&](int done, int total) {
        out.reports.emplace_back(done, total);
        return static_cast<int>(out.reports.size()) - 1 != stopAt;
    };
    out.factors = {7.0, 7.0, 7.0};
    out.found = AnalyseColorCast(RowsOfImage(static_cast<IImage*>(picture)), report, out.factors);
    return out;
}

// A scene of soft gradients, patches of colour and noise, seen through light of
// colour (redGain, greenGain, blueGain).
CComPtr<CHostImage> SceneUnderLight(int width, int height, double redGain, double greenGain, double blueGain,
                                    unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> noise(-6, 6);
    return MakeImage(width, height, [&](int x, int y) {
        const int grey = 40 + (x * 3 + y * 2) % 170;
        const bool patch = (x / 9 + y / 7) % 5 == 0;
        const int red = patch ? grey / 2 + 60 : grey;
        const int blue = patch ? 200 - grey / 2 : grey;
        const auto lit = [&](int level, double gain) {
            return std::clamp(static_cast<int>((level + noise(random)) * gain), 0, 255);
        };
        return Rgb(lit(red, redGain), lit(grey, greenGain), lit(blue, blueGain));
    });
}

using Gains = std::array<double, 3>;  // red, green, blue

Gains GainsOf(const ColorCastFactors& factors)
{
    return {factors.red, factors.green, factors.blue};
}

void ExpectSameAsReference(CHostImage* picture)
{
    const ReferenceOutcome expected = ReferenceAnalysis(picture);
    const Analysed got = Analyse(picture);
    EXPECT_EQ(got.found, expected.found);
    EXPECT_EQ(GainsOf(got.factors), (Gains{expected.red, expected.green, expected.blue}));
    EXPECT_EQ(got.reports, expected.reports);
}

// What the whole detection answers, and the gains it leaves behind.
struct Detected {
    bool found;
    Gains gains;
};

Detected Detect(IImage* image, IProgress* progress = nullptr)
{
    Detected out{false, {0.0, 0.0, 0.0}};
    out.found = DetectColorCast(image, progress, &out.gains[0], &out.gains[1], &out.gains[2]);
    return out;
}

// Two pixels of (110, 100, 90) in the middle column, eight of (130, 100, 70).
CComPtr<CHostImage> TwoColourCast()
{
    return MakeImage(5, 2, [](int x, int) { return x == 2 ? Rgb(110, 100, 90) : Rgb(130, 100, 70); });
}

// A reference image that writes down the copies asked of it.
class CResizeRecordingImage final : public CHostImage {
public:
    static CComPtr<CResizeRecordingImage> Create(int width, int height, bool refuse = false)
    {
        auto image = CComPtr<CResizeRecordingImage>::Adopt(new (std::nothrow) CResizeRecordingImage(refuse));
        if (image) image->Allocate(width, height, 32, nullptr);
        return image;
    }

    bool Resize(int width, int height, IUnknown** resized, int mode, int reserved) override
    {
        requests.push_back({width, height, mode});
        return !m_refuse && CHostImage::Resize(width, height, resized, mode, reserved);
    }

    struct Request {
        int width;
        int height;
        int mode;
        bool operator==(const Request&) const = default;
    };
    std::vector<Request> requests;

private:
    explicit CResizeRecordingImage(bool refuse) : m_refuse(refuse) {}
    bool m_refuse;
};

} // namespace

// Two colours on one side of grey: two pixels of (110, 100, 90) nearest to it, eight
// of (130, 100, 70) twice as far. The mean lies far from grey next to the spread
// (a clear cast), the nearest fifth is the two mild pixels, and their mean colour
// sets the gains: the mean level 100 over each channel's level.
TEST(ColorCastAnalysis, AClearCastTakesItsGainsFromTheNearestFifth)
{
    auto picture = TwoColourCast();
    const Analysed got = Analyse(picture.Get());
    ASSERT_TRUE(got.found);
    EXPECT_NEAR(got.factors.red, 100.0 / 110.0, 1e-12);
    EXPECT_NEAR(got.factors.green, 1.0, 1e-12);
    EXPECT_NEAR(got.factors.blue, 100.0 / 90.0, 1e-12);
    // Each row, then the spread and the neutral part; a clear cast skips the
    // neutral part's own spread.
    EXPECT_EQ(got.reports, (Reports{{0, 8}, {1, 8}, {4, 8}, {6, 8}}));
    ExpectSameAsReference(picture.Get());
}

// Greys with colour noise that leans as much one way as the other: the mean stays
// at grey, far inside the spread.
TEST(ColorCastAnalysis, ANeutralPictureHasNoCast)
{
    auto picture = MakeImage(40, 30, [](int x, int y) {
        const int grey = 50 + 4 * x;
        const int lean = (y % 4 + 1) * ((x + y) % 2 == 0 ? 1 : -1);
        return Rgb(grey + 3 * lean, grey, grey - 3 * lean);
    });
    const Analysed got = Analyse(picture.Get());
    EXPECT_TRUE(got.found);
    EXPECT_EQ(GainsOf(got.factors), (Gains{1.0, 1.0, 1.0}));
    EXPECT_EQ(got.reports.back(), std::make_pair(60, 120)) << "no cast is decided on the whole picture's spread";
    ExpectSameAsReference(picture.Get());
}

TEST(ColorCastAnalysis, PixelsOutsideTheLevelRangeGiveNothingToAnalyse)
{
    // Each pixel has one channel below 25 or above 230, the others in range.
    auto picture = MakeImage(6, 4, [](int x, int y) {
        const int outside = (x + y) % 2 == 0 ? 24 : 231;
        switch ((x + 2 * y) % 3) {
        case 0: return Rgb(outside, 100, 120);
        case 1: return Rgb(100, outside, 120);
        default: return Rgb(100, 120, outside);
        }
    });
    const Analysed got = Analyse(picture.Get());
    EXPECT_FALSE(got.found);
    EXPECT_EQ(got.factors.red, 1.0);
    EXPECT_EQ(got.factors.blue, 1.0);
    EXPECT_EQ(got.reports, (Reports{{0, 16}, {1, 16}, {2, 16}, {3, 16}}));

    // The range's own ends take part: one grey pixel at 25 and one at 230.
    auto ends = MakeImage(2, 1, [](int x, int) { return x == 0 ? Rgb(25, 25, 25) : Rgb(230, 230, 230); });
    EXPECT_GE(Analyse(ends.Get()).reports.size(), 2u) << "past the records, to the spread";
}

TEST(ColorCastAnalysis, EmptyRowsFindNothing)
{
    ColorCastFactors factors;
    EXPECT_FALSE(AnalyseColorCast(PixelRows{}, {}, factors));
}

// Photos under warm and cool light, and one with few colours repeated, whose equal
// sort keys are cut through by the nearest fifth: the scan order must decide.
TEST(ColorCastAnalysis, MatchesThePlainReference)
{
    for (const auto& [red, blue] : {std::pair{1.18, 0.82}, std::pair{0.85, 1.2}, std::pair{1.0, 1.0}}) {
        auto picture = SceneUnderLight(97, 61, red, 1.0, blue, 11);
        ExpectSameAsReference(picture.Get());
    }
    const uint32_t few[] = {Rgb(120, 100, 80), Rgb(80, 100, 120), Rgb(110, 100, 90), Rgb(90, 100, 110),
                            Rgb(150, 100, 60), Rgb(100, 100, 100), Rgb(105, 100, 95)};
    auto repeated = MakeImage(53, 17, [&](int x, int y) { return few[(x * 5 + y * 3) % 7]; });
    ExpectSameAsReference(repeated.Get());

    // Casts from none to clear: the mild ones between need the neutral part's spread
    // to decide, and at least one of them must be among the cases.
    int decidedOnTheNeutralPart = 0;
    for (int step = 0; step <= 30; ++step) {
        auto lit = SceneUnderLight(64, 48, 1.0 + step * 0.01, 1.0, 1.0 - step * 0.01, 5);
        if (ReferenceAnalysis(lit.Get()).reports.back() == std::make_pair(4 * 48, 4 * 48)) ++decidedOnTheNeutralPart;
        ExpectSameAsReference(lit.Get());
    }
    EXPECT_GT(decidedOnTheNeutralPart, 0);
}

TEST(ColorCastAnalysis, WarmLightIsCorrectedTowardsBlue)
{
    auto picture = SceneUnderLight(120, 80, 1.2, 1.0, 0.8, 3);
    const Analysed got = Analyse(picture.Get());
    ASSERT_TRUE(got.found);
    EXPECT_LT(got.factors.red, 0.95);
    EXPECT_GT(got.factors.blue, 1.05);
}

TEST(ColorCastAnalysis, AStopAnswersFalseAtOnce)
{
    auto picture = SceneUnderLight(30, 20, 1.2, 1.0, 0.8, 7);
    const Analysed whole = Analyse(picture.Get());
    ASSERT_TRUE(whole.found);
    for (size_t stop = 0; stop < whole.reports.size(); ++stop) {
        const Analysed stopped = Analyse(picture.Get(), static_cast<int>(stop));
        EXPECT_FALSE(stopped.found) << stop;
        EXPECT_EQ(stopped.reports.size(), stop + 1) << "nothing reported after the stop";
        EXPECT_EQ(stopped.factors.red, 1.0);
    }
}

// Above 640 a side, the analysis sees the host's bilinear copy whose longer side is
// 640; up to 640 it sees the picture itself, and asks for no copy.
TEST(ColorCastDetection, LargePicturesAreJudgedOnABilinearCopyOf640)
{
    struct Case {
        int width;
        int height;
        int reducedWidth;  // 0: no copy
        int reducedHeight;
    };
    for (const Case& c : {Case{1000, 500, 640, 320}, Case{736, 575, 640, 500}, Case{500, 1000, 320, 640},
                          Case{641, 480, 640, 479}, Case{640, 640, 0, 0}}) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        auto image = CResizeRecordingImage::Create(c.width, c.height);
        auto scene = SceneUnderLight(c.width, c.height, 1.15, 1.0, 0.85, 1);
        std::copy_n(scene->Row(0), c.width * c.height, image->Row(0));

        const Detected detected = Detect(static_cast<IImage*>(image.Get()));
        ASSERT_TRUE(detected.found);
        ColorCastFactors expected;
        if (c.reducedWidth == 0) {
            EXPECT_TRUE(image->requests.empty());
            ASSERT_TRUE(AnalyseColorCast(RowsOfImage(static_cast<IImage*>(scene.Get())), {}, expected));
        } else {
            ASSERT_EQ(image->requests.size(), 1u);
            EXPECT_EQ(image->requests[0], (CResizeRecordingImage::Request{c.reducedWidth, c.reducedHeight, 4}));
            CComPtr<IUnknown> copy;
            ASSERT_TRUE(image->CHostImage::Resize(c.reducedWidth, c.reducedHeight, copy.Receive(), 4, 0));
            ASSERT_TRUE(AnalyseColorCast(RowsOfImage(copy.Get()), {}, expected));
        }
        EXPECT_EQ(detected.gains, GainsOf(expected));
    }
}

// The rows of the worked two-colour cast: 0 and 1, then the spread (4) and the
// neutral part (6), of 8.
TEST(ColorCastDetection, TellsTheSinkItsTextEveryRowAndTheOutcome)
{
    auto picture = TwoColourCast();
    auto progress = Recorder();
    const Detected detected = Detect(static_cast<IImage*>(picture.Get()), progress.Get());
    ASSERT_TRUE(detected.found);
    EXPECT_NEAR(detected.gains[0], 100.0 / 110.0, 1e-12);
    EXPECT_EQ(ProgressCalls(progress->Events()),
              "SetText Detecting color cast...;Step 0/8;Step 1/8;Step 4/8;Step 6/8;Finish true;");

    // Stopped in the second row: the factors go back to 1 and the sink hears of the failure.
    auto stopping = Recorder(1);
    const Detected stopped = Detect(static_cast<IImage*>(picture.Get()), stopping.Get());
    EXPECT_FALSE(stopped.found);
    EXPECT_EQ(stopped.gains, (Gains{1.0, 1.0, 1.0}));
    EXPECT_EQ(ProgressCalls(stopping->Events()), "SetText Detecting color cast...;Step 0/8;Step 1/8;Finish false;");
}

TEST(ColorCastDetection, RefusedCopiesAndMissingArgumentsFail)
{
    auto refusing = CResizeRecordingImage::Create(800, 600, true);
    auto progress = Recorder();
    const Detected refused = Detect(static_cast<IImage*>(refusing.Get()), progress.Get());
    EXPECT_FALSE(refused.found);
    EXPECT_EQ(refusing->requests.size(), 1u);
    EXPECT_TRUE(progress->Events().empty()) << "the text comes after the copy";
    EXPECT_EQ(refused.gains[0], 1.0);

    auto picture = MakeImage(4, 4, [](int, int) { return Rgb(120, 100, 80); });
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
    EXPECT_FALSE(DetectColorCast(nullptr, nullptr, &red, &green, &blue));
    EXPECT_FALSE(DetectColorCast(static_cast<IImage*>(picture.Get()), nullptr, nullptr, &green, &blue));
    EXPECT_FALSE(DetectColorCast(static_cast<IImage*>(picture.Get()), nullptr, &red, nullptr, &blue));
    EXPECT_FALSE(DetectColorCast(static_cast<IImage*>(picture.Get()), nullptr, &red, &green, nullptr));
}
