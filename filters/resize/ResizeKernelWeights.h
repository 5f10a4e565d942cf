#pragma once
// The weight table of one direction of the resampler: for every phase of the
// destination-to-source step, one row of integer weights in units of 1/128 that
// sums to exactly 128.

#include "filters/resize/ResizeKernelFunctions.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CResizeWeights {
public:
    // Phases 0 .. destinationSize - 2 of the corner-aligned mapping from
    // sourceSize to destinationSize pixels (both at least 2). False, leaving the
    // table empty, when memory runs out.
    bool Build(uint32_t sourceSize, uint32_t destinationSize, ResizeKernel kernel, int radius);
    void Clear();

    // Always even: as many taps after the sampling position as before it, plus one.
    int Taps() const { return m_taps; }
    uint32_t Phases() const { return m_phases; }
    const int16_t* Row(uint32_t phase) const { return m_weights.data() + static_cast<size_t>(phase) * m_taps; }
    const int16_t* Data() const { return m_weights.data(); }

    // The same weights as signed bytes, when every weight lies in 0 .. 127 and every
    // row sums to at most 128 (the triangle's reductions): each product and every sum
    // of a row then fits 16 bits, which the widest passes use. Rows of NarrowTaps(),
    // the taps rounded up to a multiple of four and padded with zeros. Null otherwise.
    const int8_t* NarrowData() const { return m_narrow.empty() ? nullptr : m_narrow.data(); }
    const int8_t* NarrowRow(uint32_t phase) const { return NarrowData() + static_cast<size_t>(phase) * NarrowTaps(); }
    int NarrowTaps() const { return (m_taps + 3) / 4 * 4; }

private:
    void BuildRow(uint32_t phase, double scale, ResizeKernel kernel, std::vector<double>& real);
    void BuildNarrow();

    int m_taps = 0;
    uint32_t m_phases = 0;
    std::vector<int16_t> m_weights;
    std::vector<int8_t> m_narrow;
};
