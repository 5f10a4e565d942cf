#pragma once
// The median filter's pixel work, free of interfaces: every pixel is replaced by the
// whole pixel that stands in the middle of its square neighbourhood when the
// neighbourhood is ordered by luma, then red, green and blue. So every colour of the
// result occurs in the input.

#include "filters/shared/parallel/RowBands.h"
#include "filters/shared/pixels/PixelRows.h"

#include <cstddef>
#include <cstdint>

inline constexpr int kMinimumMedianRadius = 1;
inline constexpr int kMaximumMedianRadius = 4;
inline constexpr int kLargestMedianWindow = (2 * kMaximumMedianRadius + 1) * (2 * kMaximumMedianRadius + 1);

// floor((19584 R + 38464 G + 7488 B) / 65536): the weights add up to 2^24, so the
// sum fits 32 bits and white keeps 255.
uint32_t LumaOf(uint32_t pixel);

// Each pixel with its luma in the fourth byte: compared as unsigned words, keyed
// pixels order by luma first and by red, green and blue among equal lumas. The
// vector variants give the same keys. next, when not null, is the row of width
// pixels to be keyed after this one: it is asked for from memory meanwhile, since
// this machine's prefetchers did not fetch it early enough on their own.
using KeyRow = void (*)(const uint32_t* row, int width, uint32_t* keyed, const uint32_t* next);
void KeyRowByLuma(const uint32_t* row, int width, uint32_t* keyed, const uint32_t* next);
void KeyRowByLumaSse2(const uint32_t* row, int width, uint32_t* keyed, const uint32_t* next);
void KeyRowByLumaAvx2(const uint32_t* row, int width, uint32_t* keyed, const uint32_t* next);

// The median of the windows of one row that reach 2r+1 columns: out[x] for x from r to
// width-r-1 becomes the key of rank n/2 among the n keys of rows[0..rowCount-1] at
// columns x-r to x+r, where rowCount is 2r+1 or, for a window clipped at the top or
// bottom, r+1 to 2r; the other columns of out are left alone. Each row must be readable up to
// kMedianRowSlack columns past width (what is there does not matter), and scratch
// must hold MedianScratchKeys() keys. The vector variants give the same keys and may
// only run where the processor has their instructions (platform/CpuFeatures.h).
inline constexpr int kMedianRowSlack = 32;
size_t MedianScratchKeys();
using MedianInteriorRow = void (*)(const uint32_t* const* rows, int rowCount, int width, int radius, uint32_t* out,
                                   uint32_t* scratch);
void MedianInteriorRowPortable(const uint32_t* const* rows, int rowCount, int width, int radius, uint32_t* out,
                               uint32_t* scratch);
void MedianInteriorRowSse2(const uint32_t* const* rows, int rowCount, int width, int radius, uint32_t* out,
                           uint32_t* scratch);
void MedianInteriorRowAvx2(const uint32_t* const* rows, int rowCount, int width, int radius, uint32_t* out,
                           uint32_t* scratch);

// The variants MedianFilter runs on this processor, chosen once: the widest it has,
// unless portable code is forced.
struct MedianVariants {
    KeyRow keyRow;
    MedianInteriorRow interiorRow;
};
MedianVariants ChosenMedianVariants();

// Keys every pixel, then replaces it by the key of rank n/2 among the n keys of its
// window (the (2r+1)-square clipped at the image edges). With radius 1 each corner
// takes the smaller of its own row's larger key and the adjacent row's larger key
// instead. radius is clamped to 1..4; width and height must exceed 2r+1.
//
// Rows are keyed into a ring of 2r+1 rows just before the first window that needs
// them, and each result row lands in the picture as soon as it is done: the picture's
// own row is in the ring by then. Beyond the picture, only the ring and a tile's
// scratch are held.
//
// With one thread, report hears once per keyed row and once per row with a
// full-height window (2H - 2r units in all, in the order the rows are reached); after
// a stop, the rows above the row being worked on hold their results and the others
// are as they were. With more, bands of rows go to the threads (filters/shared/
// parallel/RowBands.h), each with a ring of its own and the keys of the r rows either
// side of it made before any band starts; report hears the same units in proportion
// to the bands done, and a stop leaves some bands filtered. False for a refused
// size, a failed allocation or a stop from report.
bool MedianFilter(const PixelRows& image, int radius, const UnitReport& report, int threads = KernelThreadCount());
