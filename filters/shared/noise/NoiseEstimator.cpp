#include "filters/shared/noise/NoiseEstimator.h"

#include "filters/shared/noise/WorkingChannels.h"

#include <algorithm>
#include <cstdint>

namespace {

// Block values span 0 to 255; a block whose mean sits near either end is clipped or
// crushed and hides its noise.
constexpr int64_t kDarkestMean = 20;
constexpr int64_t kBrightestMean = 235;
constexpr double kNarrowestRange = 10.0;
constexpr double kSmallestLevel = 1.0;
constexpr double kLargestLevel = 200.0;

// Sums of one block: its block values first, then the three channels.
struct BlockSums {
    int64_t sums[4] = {0, 0, 0, 0};
    int64_t squares[4] = {0, 0, 0, 0};
};

// Column sums stay within 32 bits over up to kRowsPerFlush rows (255^2 x kRowsPerFlush
// < 2^31); summing columns first lets every addition run along whole rows.
constexpr int kRowsPerFlush = 32768;

// The four planes of one picture row, from the grid's first column on, and their
// column sums over the rows read since the last flush.
class BlockRow {
public:
    BlockRow(int width, const EstimatorInputs& inputs)
        : m_width(width), m_inputs(inputs), m_values(PlanesOf<int16_t>()), m_sums(PlanesOf<int32_t>()),
          m_squares(PlanesOf<int32_t>())
    {
    }

    void Add(const uint32_t* pixels)
    {
        BlockValuesOfRow(pixels, m_width, m_inputs.blockValueMode, Plane(m_values, 0));
        ConvertToWorkingRow(pixels, m_width, m_inputs.lumaChannels,
                            {{Plane(m_values, 1), Plane(m_values, 2), Plane(m_values, 3)}});
        for (int plane = 0; plane < 4; ++plane) {
            const int16_t* values = Plane(m_values, plane);
            int32_t* sums = Plane(m_sums, plane);
            int32_t* squares = Plane(m_squares, plane);
            for (int x = 0; x < m_width; ++x) {
                sums[x] += values[x];
                squares[x] += values[x] * values[x];
            }
        }
    }

    // Adds each block's columns to its sums and starts the columns afresh.
    void Flush(std::vector<BlockSums>& blocks, int side)
    {
        for (int plane = 0; plane < 4; ++plane) {
            int32_t* sums = Plane(m_sums, plane);
            int32_t* squares = Plane(m_squares, plane);
            for (size_t column = 0; column < blocks.size(); ++column) {
                const int from = static_cast<int>(column) * side;
                for (int x = from; x < from + side; ++x) {
                    blocks[column].sums[plane] += sums[x];
                    blocks[column].squares[plane] += squares[x];
                }
            }
            std::fill(sums, sums + m_width, 0);
            std::fill(squares, squares + m_width, 0);
        }
    }

private:
    template <class Value>
    std::vector<Value> PlanesOf() const
    {
        return std::vector<Value>(static_cast<size_t>(4) * static_cast<size_t>(m_width));
    }
    template <class Value>
    Value* Plane(std::vector<Value>& planes, int plane) const
    {
        return planes.data() + static_cast<size_t>(plane) * static_cast<size_t>(m_width);
    }

    int m_width;
    const EstimatorInputs& m_inputs;
    std::vector<int16_t> m_values;
    std::vector<int32_t> m_sums;
    std::vector<int32_t> m_squares;
};

void KeepTakingPart(const std::vector<BlockSums>& row, int64_t count, int64_t divisor,
                    std::vector<BlockVariances>& blocks)
{
    for (const BlockSums& block : row) {
        const int64_t sum = block.sums[0];
        if (sum <= kDarkestMean * count || sum >= kBrightestMean * count) continue;
        BlockVariances kept;
        kept.ofValues = VarianceOfSums(sum, block.squares[0], count, divisor);
        for (int channel = 0; channel < 3; ++channel) {
            kept.ofChannels[channel] =
                VarianceOfSums(block.sums[channel + 1], block.squares[channel + 1], count, divisor);
        }
        blocks.push_back(kept);
    }
}

} // namespace

int EstimatorBlockSide(int width, int height, int requested)
{
    const int side = std::max(requested, kSmallestBlock);
    if (width / side > kMostBlocksAcross || height / side > kMostBlocksAcross) {
        return std::max(width, height) / kMostBlocksAcross + 1;
    }
    return side;
}

// A block side can reach thousands of pixels, where count times squares passes 64
// bits; 128 bits keep the numerator exact for every side.
double VarianceOfSums(int64_t sum, int64_t squares, int64_t count, int64_t divisor)
{
    const __int128 numerator = static_cast<__int128>(count) * squares - static_cast<__int128>(sum) * sum;
    return static_cast<double>(numerator) / static_cast<double>(count * divisor);
}

bool MeasureBlocks(const PixelRows& picture, int side, const EstimatorInputs& inputs, const UnitReport& report,
                   std::vector<BlockVariances>& blocks)
{
    const int across = picture.width / side;
    const int down = picture.height / side;
    const int left = (picture.width - across * side) / 2;
    const int bottom = (picture.height - down * side) / 2;
    const int64_t count = int64_t{side} * side;
    const int64_t divisor = inputs.divideByCount ? count : count - 1;
    BlockRow row(across * side, inputs);
    for (int blockRow = 0; blockRow < down; ++blockRow) {
        std::vector<BlockSums> sums(static_cast<size_t>(across));
        const int first = bottom + blockRow * side;
        for (int y = first; y < first + side; ++y) {
            row.Add(picture.Row(y) + left);
            if ((y - first + 1) % kRowsPerFlush == 0 || y + 1 == first + side) row.Flush(sums, side);
        }
        KeepTakingPart(sums, count, divisor, blocks);
        // The caller reports the whole height once the blocks are measured.
        const bool last = blockRow + 1 == down;
        if (!last && report && !report(first + side, picture.height)) return false;
    }
    return true;
}

NoiseLevels LevelsOfMostCrowdedRange(std::vector<BlockVariances> blocks)
{
    if (blocks.empty()) return {};
    std::stable_sort(blocks.begin(), blocks.end(),
                     [](const BlockVariances& a, const BlockVariances& b) { return a.ofValues < b.ofValues; });
    size_t first = 0;
    size_t count = blocks.size();
    double width = blocks.back().ofValues - blocks.front().ofValues;
    while (width > kNarrowestRange) {
        width = width / 3;
        size_t bestFirst = first;
        size_t bestCount = 0;
        // Windows start at ascending variances, so their ends only move forward.
        size_t end = first;
        for (size_t i = first; i < first + count; ++i) {
            const double reach = blocks[i].ofValues + width;
            while (end < first + count && blocks[end].ofValues <= reach) ++end;
            if (end - i > bestCount) {
                bestCount = end - i;
                bestFirst = i;
            }
        }
        first = bestFirst;
        count = bestCount;
    }
    NoiseLevels levels;
    for (int channel = 0; channel < 3; ++channel) {
        double sum = 0.0;
        for (size_t i = first; i < first + count; ++i) sum += blocks[i].ofChannels[channel];
        LevelOf(levels, channel) = std::clamp(sum / static_cast<double>(count), kSmallestLevel, kLargestLevel);
    }
    return levels;
}

bool EstimateNoiseLevels(const PixelRows& picture, const EstimatorInputs& inputs, const UnitReport& report,
                         NoiseLevels& estimates)
{
    estimates = {};
    const int side = EstimatorBlockSide(picture.width, picture.height, inputs.blockSize);
    const bool measurable = picture.width >= inputs.minimumSide && picture.height >= inputs.minimumSide &&
                            picture.width >= side && picture.height >= side;
    if (measurable) {
        std::vector<BlockVariances> blocks;
        if (!MeasureBlocks(picture, side, inputs, report, blocks)) return false;
        estimates = LevelsOfMostCrowdedRange(std::move(blocks));
    }
    return !report || report(picture.height, picture.height);
}
