#include "filters/resize/ResizeKernelPlane.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <new>
#include <vector>

namespace {

// The middle band reports every tenth row it begins, in tenths of its rows.
constexpr uint32_t kRowsPerStep = 10;

}  // namespace

bool CPlaneResizer::Init(uint32_t sourceWidth, uint32_t sourceHeight, uint32_t destinationWidth,
                         uint32_t destinationHeight, uint32_t sourceStride, uint32_t destinationStride,
                         ResizeKernel kernel, int radius, int bitsPerPixel)
{
    // Below this size the bands overlap: the callers send smaller planes elsewhere.
    const bool bigEnough = std::min({sourceWidth, sourceHeight, destinationWidth, destinationHeight}) >= kMinimumSize;
    assert(bigEnough && "planes of at least kMinimumSize pixels each way");
    assert(bitsPerPixel == 8 || bitsPerPixel == 32);
    m_line.reset();
    m_edgeRows.reset();
    if (!bigEnough || (bitsPerPixel != 8 && bitsPerPixel != 32)) return false;

    m_sourceWidth = sourceWidth;
    m_sourceHeight = sourceHeight;
    m_destinationWidth = destinationWidth;
    m_destinationHeight = destinationHeight;
    m_sourceStride = sourceStride;
    m_destinationStride = destinationStride;
    m_bytesPerPixel = static_cast<size_t>(bitsPerPixel / 8);
    assert(sourceStride >= RowBytes() && destinationStride >= static_cast<size_t>(destinationWidth) * m_bytesPerPixel);
    if (!m_horizontal.Build(sourceWidth, destinationWidth, kernel, radius) ||
        !m_vertical.Build(sourceHeight, destinationHeight, kernel, radius)) {
        return false;
    }
    ComputeBands();
    m_line.reset(new (std::nothrow) uint8_t[LineBytes()]());
    m_edgeRows.reset(new (std::nothrow) uint8_t[EdgeRowsNeeded() * RowBytes()]);
    if (!m_line || !m_edgeRows) {
        m_line.reset();
        m_edgeRows.reset();
        return false;
    }
    m_passes = ChosenResizePasses(bitsPerPixel);
    if (m_vertical.NarrowData() == nullptr) m_passes.narrowVertical = nullptr;
    // Without memory for their plans the horizontal passes step through the table.
    const bool narrowColumns = m_passes.narrowHorizontal != nullptr && m_horizontal.NarrowData() != nullptr &&
                               m_columns.Build(m_horizontal.NarrowData(), m_horizontal.NarrowTaps(), sourceWidth - 1,
                                               destinationWidth - 1, destinationWidth);
    if (!narrowColumns) m_passes.narrowHorizontal = nullptr;
    const bool twoTapColumns = !narrowColumns && m_passes.twoTapHorizontal != nullptr && m_horizontal.Taps() == 2 &&
                               m_wideColumns.Build(m_horizontal.Data(), 2, sourceWidth - 1, destinationWidth - 1,
                                                   destinationWidth);
    if (!twoTapColumns) m_passes.twoTapHorizontal = nullptr;
    return true;
}

// The padded line, and the pixels a narrow horizontal pass may read beyond it.
size_t CPlaneResizer::LineBytes() const
{
    return (static_cast<size_t>(m_horizontal.Taps()) + m_sourceWidth + kNarrowLineSlack) * m_bytesPerPixel;
}

// Top band: the rows whose first tap lies above source row 0. Bottom band: the rows
// whose last tap lies below the last source row.
void CPlaneResizer::ComputeBands()
{
    const uint64_t numerator = m_sourceHeight - 1;
    const uint64_t denominator = m_destinationHeight - 1;
    const uint64_t reach = static_cast<uint64_t>(m_vertical.Taps() / 2 - 1);
    m_bands.top = reach == 0 ? 0 : static_cast<uint32_t>((denominator * reach - 1) / numerator + 1);
    m_bands.bottom = static_cast<uint32_t>(reach * denominator / numerator + 1);
    assert(m_bands.top + m_bands.bottom <= m_destinationHeight);
    m_bands.middle = m_destinationHeight - m_bands.top - m_bands.bottom;
    m_bands.firstMiddlePosition = static_cast<uint32_t>(numerator * m_bands.top / denominator);
    const uint64_t bottomStart = numerator * (m_bands.top + m_bands.middle) / denominator;
    assert(bottomStart >= reach);
    m_bands.bottomFirstRow = static_cast<uint32_t>(bottomStart - reach);
}

// The top copy holds half - 1 copies of row 0 and rows 0 .. firstMiddlePosition +
// half; the bottom copy rows bottomFirstRow .. last and half copies of the last row.
// Sized to what the bands read, this stays a few rows even for strong reductions.
size_t CPlaneResizer::EdgeRowsNeeded() const
{
    const size_t half = static_cast<size_t>(m_vertical.Taps() / 2);
    const size_t topRows = m_bands.top == 0 ? 0 : m_bands.firstMiddlePosition + 2 * half;
    const size_t bottomRows = m_sourceHeight - m_bands.bottomFirstRow + half;
    return std::max(topRows, bottomRows);
}

bool CPlaneResizer::Run(uint8_t* destination, const uint8_t* source, const UnitReport& report, int threads)
{
    if (m_sourceWidth == m_destinationWidth && m_sourceHeight == m_destinationHeight) {
        CopyRows(destination, source);
        return true;
    }
    const uint64_t numerator = m_sourceHeight - 1;
    const uint64_t denominator = m_destinationHeight - 1;
    const size_t half = static_cast<size_t>(m_vertical.Taps() / 2);
    const size_t edgeStride = RowBytes();
    if (m_bands.top > 0) {
        RowPass(destination, {FillTopEdge(source), edgeStride, 0, m_bands.top}, 0, m_bands.top, m_line.get());
    }
    const uint32_t middleStart = m_bands.top;
    const uint8_t* middleSource =
        source + (m_bands.firstMiddlePosition + 1 - half) * static_cast<size_t>(m_sourceStride);
    const bool completed =
        MiddlePass(destination + static_cast<size_t>(middleStart) * m_destinationStride,
                   {middleSource, m_sourceStride, static_cast<uint32_t>(numerator * middleStart % denominator),
                    m_bands.middle},
                   report, threads);
    const uint32_t bottomStart = m_bands.top + m_bands.middle;
    RowPass(destination + static_cast<size_t>(bottomStart) * m_destinationStride,
            {FillBottomEdge(source), edgeStride, static_cast<uint32_t>(numerator * bottomStart % denominator),
             m_bands.bottom},
            0, m_bands.bottom, m_line.get());
    return completed;
}

void CPlaneResizer::CopyRows(uint8_t* destination, const uint8_t* source) const
{
    for (uint32_t y = 0; y < m_sourceHeight; ++y) {
        std::memcpy(destination + static_cast<size_t>(y) * m_destinationStride,
                    source + static_cast<size_t>(y) * m_sourceStride, RowBytes());
    }
}

const uint8_t* CPlaneResizer::FillTopEdge(const uint8_t* source) const
{
    const size_t half = static_cast<size_t>(m_vertical.Taps() / 2);
    uint8_t* row = m_edgeRows.get();
    for (size_t copy = 0; copy + 1 < half; ++copy, row += RowBytes()) std::memcpy(row, source, RowBytes());
    const size_t lastRow = m_bands.firstMiddlePosition + half;
    assert(lastRow < m_sourceHeight);
    for (size_t y = 0; y <= lastRow; ++y, row += RowBytes()) {
        std::memcpy(row, source + y * m_sourceStride, RowBytes());
    }
    return m_edgeRows.get();
}

const uint8_t* CPlaneResizer::FillBottomEdge(const uint8_t* source) const
{
    const size_t half = static_cast<size_t>(m_vertical.Taps() / 2);
    uint8_t* row = m_edgeRows.get();
    for (size_t y = m_bands.bottomFirstRow; y < m_sourceHeight; ++y, row += RowBytes()) {
        std::memcpy(row, source + y * m_sourceStride, RowBytes());
    }
    const uint8_t* last = source + static_cast<size_t>(m_sourceHeight - 1) * m_sourceStride;
    for (size_t copy = 0; copy < half; ++copy, row += RowBytes()) std::memcpy(row, last, RowBytes());
    return m_edgeRows.get();
}

// half - 1 copies of the first pixel before the line and half of the last after it,
// so that every tap of the horizontal pass reads inside the buffer.
void CPlaneResizer::PadLine(uint8_t* line) const
{
    const size_t half = static_cast<size_t>(m_horizontal.Taps() / 2);
    const uint8_t* first = LineData(line);
    for (size_t pixel = 0; pixel + 1 < half; ++pixel) std::memcpy(line + pixel * m_bytesPerPixel, first, m_bytesPerPixel);
    uint8_t* last = LineData(line) + (m_sourceWidth - 1) * m_bytesPerPixel;
    for (size_t pixel = 1; pixel <= half; ++pixel) std::memcpy(last + pixel * m_bytesPerPixel, last, m_bytesPerPixel);
}

// Rows first .. last - 1 of the span into destination, which holds the span's first
// row; the row k of the span sits at phase + k (H - 1) over H' - 1 source rows.
void CPlaneResizer::RowPass(uint8_t* destination, const RowSpan& span, uint32_t first, uint32_t last,
                            uint8_t* line) const
{
    const uint64_t denominator = m_destinationHeight - 1;
    const uint64_t reached = span.phase + uint64_t{first} * (m_sourceHeight - 1);
    ResizeStep step(m_sourceHeight - 1, m_destinationHeight - 1);
    step.position = static_cast<size_t>(reached / denominator);
    step.phase = static_cast<uint32_t>(reached % denominator);
    destination += static_cast<size_t>(first) * m_destinationStride;
    for (uint32_t row = first; row < last; ++row) {
        const uint8_t* top = span.first + step.position * span.stride;
        if (m_passes.narrowVertical != nullptr) {
            m_passes.narrowVertical(top, span.stride, m_vertical.NarrowRow(step.phase), m_vertical.Taps(),
                                    LineData(line), RowBytes());
        } else {
            m_passes.vertical(top, span.stride, m_vertical.Row(step.phase), m_vertical.Taps(), LineData(line),
                              RowBytes());
        }
        PadLine(line);
        if (m_passes.narrowHorizontal != nullptr) {
            m_passes.narrowHorizontal(line, m_columns, destination, m_destinationWidth);
        } else if (m_passes.twoTapHorizontal != nullptr) {
            m_passes.twoTapHorizontal(line, m_wideColumns, destination, m_destinationWidth);
        } else {
            m_passes.horizontal(line, m_horizontal.Data(), m_horizontal.Taps(), m_sourceWidth - 1,
                                m_destinationWidth - 1, destination, m_destinationWidth);
        }
        destination += m_destinationStride;
        step.Advance();
    }
}

// The middle band's rows spread over the threads, each band of them with a line of
// its own. Reports are due every tenth row, counted in tenths of the band's rows.
bool CPlaneResizer::MiddlePass(uint8_t* destination, const RowSpan& span, const UnitReport& report, int threads) const
{
    const auto tenths = static_cast<int>(span.rows / kRowsPerStep);
    int told = 0;
    const UnitReport rowsDone = !report ? UnitReport{} : [&](int row, int) {
        const int due = (row + 1) / static_cast<int>(kRowsPerStep);
        if (due <= told) return true;
        told = due;
        return report(due, tenths);
    };
    const size_t lineBytes = LineBytes();
    try {
        return ForEachRowBand(
            static_cast<int>(span.rows), rowsDone,
            [&](int first, int last) {
                std::vector<uint8_t> line(lineBytes);
                RowPass(destination, span, static_cast<uint32_t>(first), static_cast<uint32_t>(last), line.data());
            },
            threads);
    } catch (const std::bad_alloc&) {
        return false;
    }
}
