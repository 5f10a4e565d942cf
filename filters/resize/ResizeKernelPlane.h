#pragma once
// The separable resampler of one pixel plane (8 or 32 bits per pixel): a vertical
// pass over a few source rows into one line buffer, then a horizontal pass from that
// line into the destination row, both in 7-bit fixed point with precomputed
// per-phase weights. The mapping is corner-aligned: the first and last destination
// pixels sit on the first and last source pixels. Pixels outside the source repeat
// its edge pixels.
//
// Destination rows fall into three bands: the top and bottom ones, whose taps reach
// past the first or last source row, read copies of the edge rows; the middle one
// reads the source in place.

#include "filters/resize/ResizeKernelColumns.h"
#include "filters/resize/ResizeKernelPasses.h"
#include "filters/resize/ResizeKernelWeights.h"
#include "filters/shared/parallel/RowBands.h"
#include "filters/shared/pixels/PixelRows.h"

#include <cstdint>
#include <memory>

class CPlaneResizer {
public:
    // The smallest plane, in either direction, whose bands the resampler handles.
    static constexpr uint32_t kMinimumSize = 8;

    CPlaneResizer() = default;
    virtual ~CPlaneResizer() = default;
    CPlaneResizer(const CPlaneResizer&) = delete;
    CPlaneResizer& operator=(const CPlaneResizer&) = delete;

    // Sizes of at least kMinimumSize, strides in bytes, bitsPerPixel 8 or 32. Builds
    // both weight tables and the buffers, and picks the passes for this processor.
    // False when memory runs out.
    bool Init(uint32_t sourceWidth, uint32_t sourceHeight, uint32_t destinationWidth, uint32_t destinationHeight,
              uint32_t sourceStride, uint32_t destinationStride, ResizeKernel kernel, int radius, int bitsPerPixel);

    // Fills the destination plane from the source plane. The middle band's rows
    // spread over threads (filters/shared/parallel/RowBands.h) and tell report (may
    // be empty) of their progress; when report answers stop, the rest of that band is
    // left as it was and Run answers false, as it does when memory runs out.
    bool Run(uint8_t* destination, const uint8_t* source, const UnitReport& report,
             int threads = KernelThreadCount());

    // The weight tables, for those who check them.
    const CResizeWeights& HorizontalWeights() const { return m_horizontal; }
    const CResizeWeights& VerticalWeights() const { return m_vertical; }

private:
    struct Bands {
        uint32_t top = 0;
        uint32_t middle = 0;
        uint32_t bottom = 0;
        uint32_t firstMiddlePosition = 0;  // the source row the first middle-band row sits on
        uint32_t bottomFirstRow = 0;       // the first source row the bottom band reads
    };
    // Where the row pass reads: rows at stride from first, the first destination
    // row's phase, and how many destination rows follow.
    struct RowSpan {
        const uint8_t* first;
        size_t stride;
        uint32_t phase;
        uint32_t rows;
    };

    void ComputeBands();
    size_t EdgeRowsNeeded() const;
    size_t RowBytes() const { return static_cast<size_t>(m_sourceWidth) * m_bytesPerPixel; }
    size_t LineBytes() const;
    uint8_t* LineData(uint8_t* line) const
    {
        return line + static_cast<size_t>(m_horizontal.Taps() / 2 - 1) * m_bytesPerPixel;
    }

    void CopyRows(uint8_t* destination, const uint8_t* source) const;
    const uint8_t* FillTopEdge(const uint8_t* source) const;
    const uint8_t* FillBottomEdge(const uint8_t* source) const;
    void PadLine(uint8_t* line) const;
    void RowPass(uint8_t* destination, const RowSpan& span, uint32_t first, uint32_t last, uint8_t* line) const;
    bool MiddlePass(uint8_t* destination, const RowSpan& span, const UnitReport& report, int threads) const;

    uint32_t m_sourceWidth = 0;
    uint32_t m_sourceHeight = 0;
    uint32_t m_destinationWidth = 0;
    uint32_t m_destinationHeight = 0;
    uint32_t m_sourceStride = 0;
    uint32_t m_destinationStride = 0;
    size_t m_bytesPerPixel = 4;
    CResizeWeights m_horizontal;
    CResizeWeights m_vertical;
    CNarrowColumns m_columns;      // for the narrow horizontal pass, where it runs
    CWideColumns m_wideColumns;    // for the two-tap horizontal pass, where it runs
    Bands m_bands;
    std::unique_ptr<uint8_t[]> m_line;
    std::unique_ptr<uint8_t[]> m_edgeRows;
    ResizePasses m_passes{};
};
