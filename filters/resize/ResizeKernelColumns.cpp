#include "filters/resize/ResizeKernelColumns.h"

#include "filters/resize/ResizeKernelPasses.h"

#include <algorithm>
#include <new>

template <typename Weight>
bool CColumnPlan<Weight>::Build(const Weight* table, int tableTaps, uint32_t numerator, uint32_t denominator,
                                uint32_t width)
{
    const size_t columns = (static_cast<size_t>(width) + 3) / 4 * 4;
    const auto taps = static_cast<size_t>(tableTaps);
    try {
        m_offsets.resize(columns);
        m_weights.resize(columns * taps);
    } catch (const std::bad_alloc&) {
        m_taps = 0;
        std::vector<uint32_t>().swap(m_offsets);
        std::vector<Weight>().swap(m_weights);
        return false;
    }
    m_taps = tableTaps;
    ResizeStep step(numerator, denominator);
    for (size_t k = 0; k < columns; ++k) {
        if (k > 0 && k < width) step.Advance();
        m_offsets[k] = static_cast<uint32_t>(step.position * 4);
        std::copy_n(table + static_cast<size_t>(step.phase) * taps, taps, m_weights.begin() + static_cast<ptrdiff_t>(k * taps));
    }
    return true;
}

template class CColumnPlan<int8_t>;
template class CColumnPlan<int16_t>;
