#pragma once
// Where each destination pixel of a row reads its line and how it weighs the taps,
// worked out once a picture for the narrow horizontal pass: stepping through the
// phases pixel by pixel costs that pass more than its arithmetic.

#include <cstddef>
#include <cstdint>
#include <vector>

class CNarrowColumns {
public:
    // The columns of a row of width pixels at k numerator / denominator on the
    // source, from a narrow table of tableTaps weights a phase
    // (filters/resize/ResizeKernelWeights.h). Rounded up to a multiple of four
    // columns, the last repeated, so that a pass of four pixels a step reads inside.
    // False, leaving the plan empty, when memory runs out.
    bool Build(const int8_t* table, int tableTaps, uint32_t numerator, uint32_t denominator, uint32_t width);

    int Taps() const { return m_taps; }
    // The byte offset in the line of column k's first tap.
    const uint32_t* Offsets() const { return m_offsets.data(); }
    // Column k's weights, Taps() of them from k Taps().
    const int8_t* Weights() const { return m_weights.data(); }

private:
    int m_taps = 0;
    std::vector<uint32_t> m_offsets;
    std::vector<int8_t> m_weights;
};
