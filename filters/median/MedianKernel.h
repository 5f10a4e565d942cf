#pragma once
// The median filter's pixel work, free of interfaces: every pixel is replaced by the
// whole pixel that stands in the middle of its square neighbourhood when the
// neighbourhood is ordered by luma, then red, green and blue. So every colour of the
// result occurs in the input.

#include "filters/shared/pixels/PixelRows.h"

#include <cstdint>

inline constexpr int kMinimumMedianRadius = 1;
inline constexpr int kMaximumMedianRadius = 4;
inline constexpr int kLargestMedianWindow = (2 * kMaximumMedianRadius + 1) * (2 * kMaximumMedianRadius + 1);

// floor((19584 R + 38464 G + 7488 B) / 65536): the weights add up to 2^24, so the
// sum fits 32 bits and white keeps 255.
uint32_t LumaOf(uint32_t pixel);

// Puts each pixel's luma into its fourth byte: compared as unsigned words, keyed
// pixels then order by luma first and by red, green and blue among equal lumas.
void KeyRowByLuma(uint32_t* row, int width);

// Radius-1 results for columns 1 to width-2 of row, between the rows below and
// above it: the fifth of the nine keys around each pixel. The AVX2 variant gives the
// same words and may only run where the processor has AVX2 (CpuHasAvx2).
void MedianRowRadius1(const uint32_t* below, const uint32_t* row, const uint32_t* above, int width, uint32_t* out);
void MedianRowRadius1Avx2(const uint32_t* below, const uint32_t* row, const uint32_t* above, int width,
                          uint32_t* out);

// The pixels of one window clipped at the image edges: rowCount rows, each read from
// column first on for width columns.
struct MedianWindow {
    const uint32_t* const* rows;
    int rowCount;
    int first;
    int width;
};

// The key of the given rank (0 the smallest) among the window's keys of one luma;
// the rank must be below their number. Within a luma the colours decide, so only
// these few keys are ever ordered. The AVX2 variant gives the same key and may only
// run where the processor has AVX2 (CpuHasAvx2).
uint32_t KeyOfRankWithinLuma(const MedianWindow& window, uint32_t luma, int rank);
uint32_t KeyOfRankWithinLumaAvx2(const MedianWindow& window, uint32_t luma, int rank);

// The variants MedianFilter runs on this processor, chosen once: the AVX2 ones where
// it has AVX2 and portable code is not forced (platform/CpuFeatures.h).
using MedianRowRadius1Variant = void (*)(const uint32_t* below, const uint32_t* row, const uint32_t* above, int width,
                                         uint32_t* out);
using KeyOfRankWithinLumaVariant = uint32_t (*)(const MedianWindow& window, uint32_t luma, int rank);
struct MedianVariants {
    MedianRowRadius1Variant rowRadius1;
    KeyOfRankWithinLumaVariant keyOfRankWithinLuma;
};
MedianVariants ChosenMedianVariants();

// Keys every row, then replaces every pixel by the key of rank n/2 among the n keys
// of its window (the (2r+1)-square clipped at the image edges). With radius 1 each
// corner takes the smaller of its own row's larger key and the adjacent row's larger
// key instead. radius is clamped to 1..4; width and height must exceed 2r+1.
//
// report hears once per keyed row and once per row with a full-height window
// (2H - 2r units in all). False for a refused size, a failed allocation or a stop
// from report; the colours are then untouched, since results only land after the
// last row, but the rows keyed so far keep their luma.
bool MedianFilter(const PixelRows& image, int radius, const UnitReport& report);
