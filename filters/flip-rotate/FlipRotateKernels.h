#pragma once
// The pixel loops of the flips and right-angle turns, free of any interface so that
// they can be measured and checked alone. Pixels are 32-bit words moved whole, so
// the fourth byte travels with its pixel. Strides are in bytes; sizes are those of
// the source image, and a turned destination must be height x width.
//
// The portable loops define the results; each Sse2 variant gives the same bits
// faster and may only run where the processor offers SSE2 (CpuHasSse2).

#include "filters/shared/parallel/RowBands.h"
#include "filters/shared/pixels/PixelRows.h"

#include <cstddef>
#include <cstdint>

// Mirrors one row in place: the pixel at x changes places with the one at width-1-x.
void MirrorRow(uint32_t* row, int width);

// Mirrors every row of an image in place, reporting each row before it is mirrored;
// false when report stops it, with the rows before mirrored.
bool FlipHorizontal(const PixelRows& image, const UnitReport& report);

// Exchanges two lines of bytes through a buffer of at least that many bytes.
void SwapLines(uint8_t* first, uint8_t* second, uint8_t* buffer, size_t lineBytes);

// Exchanges row i with row height-1-i in place; buffer holds one line. The filter
// itself walks the host's line cursors and calls SwapLines per pair; this loop over
// plain rows is for the benchmarks and tests, which have no host.
void FlipVertical(uint8_t* pixels, ptrdiff_t stride, size_t lineBytes, int height, uint8_t* buffer);

// Writes a row reversed: source pixel x lands at width-1-x of destination.
using RowReverser = void (*)(const uint32_t* source, uint32_t* destination, int width);
void ReverseRowInto(const uint32_t* source, uint32_t* destination, int width);
void ReverseRowIntoSse2(const uint32_t* source, uint32_t* destination, int width);

// (x, y) goes to (width-1-x, height-1-y), one row reversed by reverse after another,
// each source row reported before it is moved; false when report stops it. The
// destination has the source's size.
bool Rotate180(const PixelRows& source, const PixelRows& destination, RowReverser reverse, const UnitReport& report);

// A quarter turn of a whole image, either way, into a height x width destination.
// No report: the tiled copy has no row-by-row point at which to honour a stop.
using QuarterTurn = void (*)(const PixelRows& source, const PixelRows& destination);

// (x, y) goes to (y, width-1-x).
void Rotate90ClockWise(const PixelRows& source, const PixelRows& destination);
void Rotate90ClockWiseSse2(const PixelRows& source, const PixelRows& destination);

// (x, y) goes to (height-1-y, x).
void Rotate90CounterClockWise(const PixelRows& source, const PixelRows& destination);
void Rotate90CounterClockWiseSse2(const PixelRows& source, const PixelRows& destination);

// A quarter turn spread over threads (filters/shared/parallel/RowBands.h): bands of
// source rows, whole tiles high, each turned by turn into the destination's columns
// they land on.
void TurnInBands(QuarterTurn turn, bool clockWise, const PixelRows& source, const PixelRows& destination,
                 int threads = KernelThreadCount());

// The variants for this processor, each chosen once: SSE2 where it runs and portable
// code is not forced (platform/CpuFeatures.h).
RowReverser ChosenRowReverser();
QuarterTurn ChosenClockWiseTurn();
QuarterTurn ChosenCounterClockWiseTurn();
