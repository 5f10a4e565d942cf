#include "filters/shared/straightening/BrightnessReduction.h"

#include <algorithm>
#include <vector>

namespace {

constexpr float kTargetSide = 640.0f;

// The source pixels under one working pixel along one axis, and the covered shares
// of the first and the last of them; the pixels between are covered whole.
struct SourceSpan {
    int first = 0;
    int last = 0;
    float firstShare = 1.0f;
    float lastShare = 1.0f;
};

// The covered part of source pixel k by the interval [from, to). Every difference
// here is exact in single precision: the operands lie within a factor 2 of each other
// or one of them is 0.
float ShareOf(int k, float from, float to)
{
    return std::min(static_cast<float>(k + 1), to) - std::max(static_cast<float>(k), from);
}

// The interval edges advance by the step in single precision, pixel after pixel, so
// they drift as the sums of the step do, not as multiples of it. Pixels past the end
// of the source are left out of the span.
std::vector<SourceSpan> SpansAlong(int workingCount, int sourceCount, float step)
{
    std::vector<SourceSpan> spans(static_cast<size_t>(workingCount));
    float from = 0.0f;
    for (auto& span : spans) {
        const float to = from + step;
        span.first = static_cast<int>(from);
        span.last = static_cast<int>(to);
        if (static_cast<float>(span.last) == to) --span.last;  // a pixel starting at the edge is not covered
        span.last = std::min(span.last, sourceCount - 1);
        span.firstShare = ShareOf(span.first, from, to);
        span.lastShare = ShareOf(span.last, from, to);
        from = to;
    }
    return spans;
}

void BrightnessOfRow(const uint32_t* pixels, int width, uint8_t* brightness)
{
    for (int x = 0; x < width; ++x) {
        const uint32_t pixel = pixels[x];
        const auto blue = static_cast<uint8_t>(pixel);
        const auto green = static_cast<uint8_t>(pixel >> 8);
        const auto red = static_cast<uint8_t>(pixel >> 16);
        brightness[x] = std::max({blue, green, red});
    }
}

// Adds one source row, covered by rowShare, to every working pixel of a row. Each
// pixel's weight is its column's share times rowShare; between the first and last
// column the share is 1, and 1 * rowShare is rowShare exactly.
void AccumulateRow(const uint8_t* brightness, const std::vector<SourceSpan>& columns, float rowShare, float* sums,
                   float* areas)
{
    for (size_t i = 0; i < columns.size(); ++i) {
        const SourceSpan& span = columns[i];
        float sum = sums[i];
        float area = areas[i];
        const float firstWeight = span.firstShare * rowShare;
        sum += firstWeight * static_cast<float>(brightness[span.first]);
        area += firstWeight;
        for (int x = span.first + 1; x < span.last; ++x) {
            sum += rowShare * static_cast<float>(brightness[x]);
            area += rowShare;
        }
        if (span.last > span.first) {
            const float lastWeight = span.lastShare * rowShare;
            sum += lastWeight * static_cast<float>(brightness[span.last]);
            area += lastWeight;
        }
        sums[i] = sum;
        areas[i] = area;
    }
}

float RowShareOf(const SourceSpan& span, int y)
{
    if (y == span.first) return span.firstShare;
    return y == span.last ? span.lastShare : 1.0f;
}

} // namespace

WorkingSize WorkingSizeOf(int width, int height)
{
    const float scale = kTargetSide / static_cast<float>(std::max(width, height));
    // The product is rounded to single precision before the double addition.
    const int reducedWidth = static_cast<int>(static_cast<float>(width) * scale + 0.00001);
    const int reducedHeight = static_cast<int>(static_cast<float>(height) * scale + 0.00001);
    if (reducedWidth > width || reducedHeight > height) return {width, height, 1.0f};
    return {reducedWidth, reducedHeight, 1.0f / scale};
}

// Source rows are read in order and each one once (a row shared by two working rows
// is kept), so no plane of the whole picture's brightness is needed. The units keep
// the count of a separate brightness pass (one per source row, rows past the last
// working row included) followed by a reduction pass (one per working row).
bool ReduceBrightness(const PixelRows& rows, const WorkingSize& size, WorkingPlane<uint8_t>& plane,
                      StageProgress& progress)
{
    const std::vector<SourceSpan> columns = SpansAlong(size.width, rows.width, size.step);
    const std::vector<SourceSpan> rowSpans = SpansAlong(size.height, rows.height, size.step);
    plane = WorkingPlane<uint8_t>(size.width, size.height);
    std::vector<uint8_t> brightness(static_cast<size_t>(rows.width));
    std::vector<float> sums(static_cast<size_t>(size.width));
    std::vector<float> areas(static_cast<size_t>(size.width));
    int rowsRead = 0;
    for (int j = 0; j < size.height; ++j) {
        std::fill(sums.begin(), sums.end(), 0.0f);
        std::fill(areas.begin(), areas.end(), 0.0f);
        const SourceSpan& span = rowSpans[static_cast<size_t>(j)];
        for (int y = span.first; y <= span.last; ++y) {
            if (y == rowsRead) {
                if (!progress.Next()) return false;
                BrightnessOfRow(rows.Row(y), rows.width, brightness.data());
                ++rowsRead;
            }
            AccumulateRow(brightness.data(), columns, RowShareOf(span, y), sums.data(), areas.data());
        }
        if (!progress.Next()) return false;
        uint8_t* out = plane.Row(j);
        for (int i = 0; i < size.width; ++i) out[i] = NearestByte(sums[static_cast<size_t>(i)] / areas[static_cast<size_t>(i)]);
    }
    for (; rowsRead < rows.height; ++rowsRead) {
        if (!progress.Next()) return false;
    }
    return true;
}
