#include "filters/shared/color-cast/ColorCast.h"

#include "filters/shared/pixels/KernelBridge.h"
#include "platform/ComPtr.h"
#include "platform/Localization.h"
#include "resources/StringIds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

namespace {

// Darker or brighter levels say more about the exposure than about the light's colour.
constexpr int kLowestLevel = 25;
constexpr int kHighestLevel = 230;
constexpr double kSmallestRadius = 1e-10;
constexpr double kKeyScale = 10000.0;
// The share of the records, nearest to grey first, whose mean colour sets the gains.
constexpr double kNeutralShare = 0.2;
// A shift of the mean below a quarter of the spread is no cast; one of at least
// one and a half spreads is a cast without looking at the neutral part again.
constexpr double kNoCastBelow = -0.75;
constexpr double kClearCastFrom = 0.5;
constexpr double kSmallestMeanLevel = 1e-10;
constexpr int kLongestSide = 640;
constexpr double kSizeRounding = 0.00001;
constexpr int kBilinear = 4;
constexpr const char16_t* kBuiltInProgressText = u"Detecting Color Cast";

// One analysed pixel: its offsets from the grey axis, in the polar angles of the
// colour cube with green over red (theta) and blue from the diagonal's plane (phi).
struct CastRecord {
    int32_t key;  // squared distance from grey, scaled and truncated: the sort order
    uint32_t pixel;
    double theta;
    double phi;
    double weight;
};

// Weighted sums over records, added in record order.
struct WeightedSums {
    double weight = 0.0;
    double theta = 0.0;
    double phi = 0.0;

    void Add(const CastRecord& record)
    {
        weight += record.weight;
        theta += record.weight * record.theta;
        phi += record.weight * record.phi;
    }
    double MeanTheta() const { return theta / weight; }
    double MeanPhi() const { return phi / weight; }
    // How far the mean lies from grey.
    double Shift() const { return std::sqrt(MeanTheta() * MeanTheta() + MeanPhi() * MeanPhi()); }
};

int Level(uint32_t pixel, int shift)
{
    return static_cast<int>(pixel >> shift & 0xFFu);
}

bool InAnalysedRange(int level)
{
    return level >= kLowestLevel && level <= kHighestLevel;
}

// False only for a pixel at the origin, which the level range already keeps out.
bool MakeRecord(uint32_t pixel, CastRecord& record)
{
    static const double greyTheta = std::atan(1.0);
    static const double greyPhi = std::acos(1.0 / std::sqrt(3.0));
    const double red = Level(pixel, 16);
    const double green = Level(pixel, 8);
    const double blue = Level(pixel, 0);
    const double radius = std::sqrt(green * green + red * red + blue * blue);
    if (radius <= kSmallestRadius) return false;
    record.pixel = pixel;
    record.theta = std::atan2(green, red) - greyTheta;
    record.phi = std::acos(blue / radius) - greyPhi;
    record.key = static_cast<int32_t>((record.theta * record.theta + record.phi * record.phi) * kKeyScale);
    record.weight = std::max({red, green, blue}) / radius;
    return true;
}

// Rows from the first of the section, each reported before it is read.
bool CollectRecords(const PixelRows& rows, const UnitReport& report, std::vector<CastRecord>& records,
                    WeightedSums& sums)
{
    const int total = 4 * rows.height;
    for (int y = 0; y < rows.height; ++y) {
        if (report && !report(y, total)) return false;
        const uint32_t* row = rows.Row(y);
        for (int x = 0; x < rows.width; ++x) {
            const uint32_t pixel = row[x];
            if (!InAnalysedRange(Level(pixel, 16)) || !InAnalysedRange(Level(pixel, 8)) ||
                !InAnalysedRange(Level(pixel, 0))) {
                continue;
            }
            CastRecord record{};
            if (!MakeRecord(pixel, record)) return false;
            sums.Add(record);
            records.push_back(record);
        }
    }
    return true;
}

// The weighted spread of the records' offsets about the mean of sums.
double Spread(std::span<const CastRecord> records, const WeightedSums& sums)
{
    const double meanTheta = sums.MeanTheta();
    const double meanPhi = sums.MeanPhi();
    double theta = 0.0;
    double phi = 0.0;
    for (const CastRecord& record : records) {
        const double dTheta = meanTheta - record.theta;
        const double dPhi = meanPhi - record.phi;
        theta += record.weight * (dTheta * dTheta);
        phi += record.weight * (dPhi * dPhi);
    }
    return std::sqrt(theta / sums.weight + phi / sums.weight);
}

// The shift of the mean against the spread, as a share of the spread.
double CastStrength(double shift, double spread)
{
    return (shift - spread) / spread;
}

} // namespace

bool AnalyseColorCast(const PixelRows& rows, const UnitReport& report, ColorCastFactors& factors)
{
    factors = ColorCastFactors{};
    const int height = rows.height;
    const int total = 4 * height;
    std::vector<CastRecord> records;
    WeightedSums all;
    if (!CollectRecords(rows, report, records, all) || records.empty()) return false;

    const double spread = Spread(records, all);
    if (report && !report(2 * height, total)) return false;
    if (spread == 0.0) return false;
    const double strength = CastStrength(all.Shift(), spread);
    if (strength < kNoCastBelow) return true;

    // Stable, so that records of equal distance keep the order of the scan when the
    // nearest fifth is cut off.
    std::stable_sort(records.begin(), records.end(),
                     [](const CastRecord& a, const CastRecord& b) { return a.key < b.key; });
    const auto neutralCount = static_cast<size_t>(static_cast<double>(records.size()) * kNeutralShare + 0.5);
    if (neutralCount == 0) return false;
    const std::span<const CastRecord> neutral(records.data(), neutralCount);
    WeightedSums nearest;
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
    for (const CastRecord& record : neutral) {
        nearest.Add(record);
        red += record.weight * Level(record.pixel, 16);
        green += record.weight * Level(record.pixel, 8);
        blue += record.weight * Level(record.pixel, 0);
    }
    const double meanRed = red / (nearest.weight * 255.0);
    const double meanGreen = green / (nearest.weight * 255.0);
    const double meanBlue = blue / (nearest.weight * 255.0);
    if (report && !report(3 * height, total)) return false;

    if (strength < kClearCastFrom) {
        const double neutralSpread = Spread(neutral, nearest);
        if (report && !report(total, total)) return false;
        if (neutralSpread == 0.0) return false;
        if (CastStrength(nearest.Shift(), neutralSpread) < kNoCastBelow) return true;
    }
    if (meanRed < kSmallestMeanLevel || meanGreen < kSmallestMeanLevel || meanBlue < kSmallestMeanLevel) return false;
    const double grey = (meanRed + meanGreen + meanBlue) / 3.0;
    factors = {grey / meanRed, grey / meanGreen, grey / meanBlue};
    return true;
}

bool DetectColorCast(IImage* image, IProgress* progress, double* red, double* green, double* blue)
{
    if (image == nullptr || red == nullptr || green == nullptr || blue == nullptr) return false;
    *red = *green = *blue = 1.0;
    int width = 0;
    int height = 0;
    image->GetSize(&width, &height);
    // The analysis needs the colours, not the detail: a large picture is judged on a
    // copy whose longer side is 640 pixels.
    CComPtr<IUnknown> reduced;
    IUnknown* analysed = image;
    if (width > kLongestSide || height > kLongestSide) {
        const double scale = static_cast<double>(kLongestSide) / std::max(width, height);
        const auto reducedWidth = static_cast<int>(width * scale + kSizeRounding);
        const auto reducedHeight = static_cast<int>(height * scale + kSizeRounding);
        const auto resizable = CComPtr<IResizableImage>::Query(image, IID_IResizableImage);
        if (!resizable || !resizable->Resize(reducedWidth, reducedHeight, reduced.Receive(), kBilinear, 0) ||
            !reduced) {
            return false;
        }
        analysed = reduced.Get();
    }
    if (progress != nullptr) {
        WString text;
        if (!CLocalization::Instance().LoadString(IDS_PROGRESS_DETECTING_COLOR_CAST, text)) text = kBuiltInProgressText;
        progress->SetText(text.c_str());
    }
    ColorCastFactors factors;
    const bool found = AnalyseColorCast(RowsOfImage(analysed), ReportTo(progress), factors);
    if (found) {
        *red = factors.red;
        *green = factors.green;
        *blue = factors.blue;
    }
    if (progress != nullptr) progress->Finish(found);
    return found;
}
