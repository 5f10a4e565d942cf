#include "filters/resize/ResizeKernelWeights.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace {

// The rounding error of the truncated weights goes to the strongest tap, where
// it matters least; on a tie the first one keeps it.
void MakeRowSumTo128(int16_t* row, int taps)
{
    int sum = 0;
    int strongest = 0;
    for (int t = 0; t < taps; ++t) {
        sum += row[t];
        if (std::abs(row[t]) > std::abs(row[strongest])) strongest = t;
    }
    row[strongest] = static_cast<int16_t>(row[strongest] + (128 - sum));
}

}  // namespace

bool CResizeWeights::Build(uint32_t sourceSize, uint32_t destinationSize, ResizeKernel kernel, int radius)
{
    Clear();
    const uint32_t numerator = sourceSize - 1;
    const uint32_t denominator = destinationSize - 1;
    // A reduction stretches the kernel over the source so that every source pixel
    // contributes; an enlargement samples the kernel as it is.
    const double scale = denominator < numerator ? static_cast<double>(numerator) / denominator : 1.0;
    const int half = static_cast<int>(radius * scale + 0.99);
    try {
        std::vector<double> real(static_cast<size_t>(2 * half));
        m_weights.resize(static_cast<size_t>(denominator) * static_cast<size_t>(2 * half));
        m_taps = 2 * half;
        m_phases = denominator;
        for (uint32_t phase = 0; phase < denominator; ++phase) BuildRow(phase, scale, kernel, real);
        BuildNarrow();
    } catch (const std::bad_alloc&) {
        Clear();
        return false;
    }
    return true;
}

void CResizeWeights::BuildRow(uint32_t phase, double scale, ResizeKernel kernel, std::vector<double>& real)
{
    const double fraction = static_cast<double>(phase) / m_phases;
    const int half = m_taps / 2;
    double sum = 0.0;
    for (int t = 0; t < m_taps; ++t) {
        const int offset = t - (half - 1);
        real[static_cast<size_t>(t)] = kernel((offset - fraction) / scale) / scale;
        sum += real[static_cast<size_t>(t)];
    }
    int16_t* row = m_weights.data() + static_cast<size_t>(phase) * m_taps;
    for (int t = 0; t < m_taps; ++t)
        row[t] = static_cast<int16_t>(static_cast<int>(real[static_cast<size_t>(t)] * (128.0 / sum)));
    MakeRowSumTo128(row, m_taps);
}

void CResizeWeights::BuildNarrow()
{
    for (uint32_t phase = 0; phase < m_phases; ++phase) {
        const int16_t* row = Row(phase);
        int sum = 0;
        for (int t = 0; t < m_taps; ++t) {
            if (row[t] < 0 || row[t] > 127) return;
            sum += row[t];
        }
        if (sum > 128) return;
    }
    m_narrow.assign(static_cast<size_t>(m_phases) * static_cast<size_t>(NarrowTaps()), 0);
    for (uint32_t phase = 0; phase < m_phases; ++phase) {
        std::copy_n(Row(phase), m_taps, m_narrow.begin() + static_cast<ptrdiff_t>(phase) * NarrowTaps());
    }
}

void CResizeWeights::Clear()
{
    m_taps = 0;
    m_phases = 0;
    std::vector<int16_t>().swap(m_weights);
    std::vector<int8_t>().swap(m_narrow);
}
