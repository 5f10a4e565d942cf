#pragma once
// Where each destination pixel of a row reads its line and how it weighs the taps,
// worked out once a picture for the horizontal passes that take a plan: stepping
// through the phases pixel by pixel costs those passes more than their arithmetic.

#include <cstddef>
#include <cstdint>
#include <vector>

// Weight is int8_t for the narrow tables (filters/resize/ResizeKernelWeights.h) and
// int16_t for the wide ones.
template <typename Weight>
class CColumnPlan {
public:
    // The columns of a row of width pixels at k numerator / denominator on the
    // source, from a table of tableTaps weights a phase. Rounded up to a multiple of
    // four columns, the last repeated, so that a pass of four pixels a step reads
    // inside. False, leaving the plan empty, when memory runs out.
    bool Build(const Weight* table, int tableTaps, uint32_t numerator, uint32_t denominator, uint32_t width);

    int Taps() const { return m_taps; }
    // The byte offset in the line of column k's first tap.
    const uint32_t* Offsets() const { return m_offsets.data(); }
    // Column k's weights, Taps() of them from k Taps().
    const Weight* Weights() const { return m_weights.data(); }

private:
    int m_taps = 0;
    std::vector<uint32_t> m_offsets;
    std::vector<Weight> m_weights;
};

using CNarrowColumns = CColumnPlan<int8_t>;
using CWideColumns = CColumnPlan<int16_t>;
