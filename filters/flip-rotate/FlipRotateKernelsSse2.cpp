// The turns four pixels at a time. A 4 x 4 block of the source is transposed in
// registers and written as four 16-byte pieces. Where the destination is 16-byte
// aligned the pieces bypass the caches: a 96 MB result would otherwise be read in
// line by line only to be overwritten, which costs a third of the memory traffic.
// Columns and rows beyond the last whole block go through the portable loops.

#include "filters/flip-rotate/FlipRotateKernels.h"

#include <emmintrin.h>

#include <type_traits>

#include <algorithm>

namespace {

// A band of 512 source rows is walked in strips of 16 columns, four columns at a
// time: each source line is fetched once for four column groups, and each of the
// four destination rows then receives 2 KiB in sequence, so the write-combining
// buffers flush whole lines. Square tiles, the portable loops' shape, measured
// three times slower here.
constexpr int kBandRows = 512;
constexpr int kStripColumns = 16;
constexpr int kBlock = 4;
constexpr uintptr_t kVectorAlignment = 16;
// Puts the four pixels of a vector in the opposite order.
constexpr int kReverseLanes = _MM_SHUFFLE(0, 1, 2, 3);

const uint32_t* RowAt(const uint8_t* pixels, ptrdiff_t stride, int y)
{
    return reinterpret_cast<const uint32_t*>(pixels + stride * y);
}

bool IsAligned(const void* address)
{
    return reinterpret_cast<uintptr_t>(address) % kVectorAlignment == 0;
}

// True when every piece a turn stores, firstColumn pixels into a destination row
// plus multiples of four, lands on a 16-byte boundary.
bool StoresAlign(const uint8_t* destination, ptrdiff_t destinationStride, int firstColumn)
{
    return IsAligned(destination) && destinationStride % static_cast<ptrdiff_t>(kVectorAlignment) == 0 &&
           firstColumn % kBlock == 0;
}

template <bool Stream>
void Store(uint32_t* at, __m128i pixels)
{
    if constexpr (Stream) _mm_stream_si128(reinterpret_cast<__m128i*>(at), pixels);
    else _mm_storeu_si128(reinterpret_cast<__m128i*>(at), pixels);
}

// The 4 x 4 block whose bottom-left pixel is (x, y). Afterwards column[k] holds the
// source column x+k, its pixel from row y first.
struct Block {
    __m128i column[kBlock];

    Block(const uint8_t* source, ptrdiff_t stride, int x, int y)
    {
        const __m128i row0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(RowAt(source, stride, y) + x));
        const __m128i row1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(RowAt(source, stride, y + 1) + x));
        const __m128i row2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(RowAt(source, stride, y + 2) + x));
        const __m128i row3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(RowAt(source, stride, y + 3) + x));
        const __m128i low01 = _mm_unpacklo_epi32(row0, row1);
        const __m128i low23 = _mm_unpacklo_epi32(row2, row3);
        const __m128i high01 = _mm_unpackhi_epi32(row0, row1);
        const __m128i high23 = _mm_unpackhi_epi32(row2, row3);
        column[0] = _mm_unpacklo_epi64(low01, low23);
        column[1] = _mm_unpackhi_epi64(low01, low23);
        column[2] = _mm_unpacklo_epi64(high01, high23);
        column[3] = _mm_unpackhi_epi64(high01, high23);
    }
};

// Calls place(x, y) for the bottom-left corner of every whole block of a
// width x height source, band by band and strip by strip.
template <class Place>
void ForEachBlock(int width, int height, Place place)
{
    const int wholeWidth = width - width % kBlock;
    const int wholeHeight = height - height % kBlock;
    for (int y0 = 0; y0 < wholeHeight; y0 += kBandRows) {
        const int y1 = std::min(y0 + kBandRows, wholeHeight);
        for (int x0 = 0; x0 < wholeWidth; x0 += kStripColumns) {
            const int x1 = std::min(x0 + kStripColumns, wholeWidth);
            for (int x = x0; x < x1; x += kBlock)
                for (int y = y0; y < y1; y += kBlock) place(x, y);
        }
    }
}

template <bool Stream>
void TurnWholeBlocksClockWise(const PixelRows& from, const PixelRows& to)
{
    const int width = from.width;
    ForEachBlock(width, from.height, [&](int x, int y) {
        const Block block(from.bits, from.stride, x, y);
        for (int k = 0; k < kBlock; ++k) Store<Stream>(to.Row(width - 1 - x - k) + y, block.column[k]);
    });
}

template <bool Stream>
void TurnWholeBlocksCounterClockWise(const PixelRows& from, const PixelRows& to)
{
    const int height = from.height;
    ForEachBlock(from.width, height, [&](int x, int y) {
        const Block block(from.bits, from.stride, x, y);
        for (int k = 0; k < kBlock; ++k)
            Store<Stream>(to.Row(x + k) + (height - kBlock - y), _mm_shuffle_epi32(block.column[k], kReverseLanes));
    });
}

// Streams the stores where the destination's blocks align from firstColumn on, so
// that a picture written once does not push the source out of the cache.
template <class Turn>
void TurnWholeBlocks(const PixelRows& to, int firstColumn, Turn turn)
{
    if (StoresAlign(to.bits, to.stride, firstColumn)) {
        turn(std::true_type{});
        _mm_sfence();
    } else {
        turn(std::false_type{});
    }
}

// The part of rows from column x and row y on, of the given size.
PixelRows PartOf(const PixelRows& rows, int x, int y, int width, int height)
{
    return {rows.bits + rows.stride * y + 4 * ptrdiff_t{x}, rows.stride, width, height};
}

template <bool Stream>
void ReverseWholeBlocks(const uint32_t* source, uint32_t* destination, int width)
{
    for (int x = 0; x + kBlock <= width; x += kBlock) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + x));
        Store<Stream>(destination + width - kBlock - x, _mm_shuffle_epi32(pixels, kReverseLanes));
    }
}

} // namespace

// The rightmost columns that fill no block turn into the bottom destination rows,
// the topmost rows into the rightmost destination columns; the portable loop does
// both on parts addressed so that its mapping lands them there.
void Rotate90ClockWiseSse2(const PixelRows& from, const PixelRows& to)
{
    const int width = from.width;
    const int height = from.height;
    const int wholeWidth = width - width % kBlock;
    const int wholeHeight = height - height % kBlock;
    TurnWholeBlocks(to, 0, [&](auto stream) { TurnWholeBlocksClockWise<decltype(stream)::value>(from, to); });
    Rotate90ClockWise(PartOf(from, wholeWidth, 0, width - wholeWidth, height),
                      PartOf(to, 0, 0, height, width - wholeWidth));
    Rotate90ClockWise(PartOf(from, 0, wholeHeight, wholeWidth, height - wholeHeight),
                      PartOf(to, wholeHeight, width - wholeWidth, height - wholeHeight, wholeWidth));
}

// The rightmost columns turn into the top destination rows, the topmost rows into
// the leftmost destination columns.
void Rotate90CounterClockWiseSse2(const PixelRows& from, const PixelRows& to)
{
    const int width = from.width;
    const int height = from.height;
    const int wholeWidth = width - width % kBlock;
    const int wholeHeight = height - height % kBlock;
    TurnWholeBlocks(to, height - kBlock,
                    [&](auto stream) { TurnWholeBlocksCounterClockWise<decltype(stream)::value>(from, to); });
    Rotate90CounterClockWise(PartOf(from, wholeWidth, 0, width - wholeWidth, height),
                             PartOf(to, 0, wholeWidth, height, width - wholeWidth));
    Rotate90CounterClockWise(PartOf(from, 0, wholeHeight, wholeWidth, height - wholeHeight),
                             PartOf(to, 0, 0, height - wholeHeight, wholeWidth));
}

// The pixels beyond the last whole block land at the start of the destination row.
void ReverseRowIntoSse2(const uint32_t* source, uint32_t* destination, int width)
{
    const int wholeWidth = width - width % kBlock;
    if (IsAligned(destination + width)) {
        ReverseWholeBlocks<true>(source, destination, width);
        _mm_sfence();
    } else {
        ReverseWholeBlocks<false>(source, destination, width);
    }
    ReverseRowInto(source + wholeWidth, destination, width - wholeWidth);
}
