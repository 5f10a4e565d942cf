#pragma once
// Maps every pixel of a 32-bit bitmap through one table per colour channel; the
// fourth byte stays as it is. Brightness and contrast, exposure, autofix and the
// colour-balance preview all end here.

#include "filters/shared/pixels/PixelRows.h"
#include "host/HostInterfaces.h"

#include <cstdint>

struct ChannelTables {
    const uint8_t* red;
    const uint8_t* green;
    const uint8_t* blue;
};

// The tables in the forms the row loops read, made once per apply.
struct PreparedChannelTables {
    explicit PreparedChannelTables(const ChannelTables& tables);

    // Entries already in their channel's place within a 32-bit pixel (red << 16,
    // green << 8), so that a pixel maps with three loads and three ORs.
    uint32_t red[256];
    uint32_t green[256];
    uint32_t blue[256];
    // Each table as sixteen runs of sixteen entries, every run twice over (once for
    // each 128-bit half of a vector), for the byte shuffles of the AVX2 loop.
    alignas(32) uint8_t redRuns[16][32];
    alignas(32) uint8_t greenRuns[16][32];
    alignas(32) uint8_t blueRuns[16][32];
    // The bits of the fourth byte a mapped pixel keeps: all of them, unless a caller
    // clears it (the frames write 0 there).
    uint32_t keptFourth = 0xFF000000u;
};

// Both map width pixels (blue, green, red, fourth byte each) in place, to the same
// bytes, the fourth byte masked with keptFourth; the AVX2 one may only run where the
// processor has it.
void MapChannelRowPortable(uint8_t* row, int width, const PreparedChannelTables& tables);
void MapChannelRowAvx2(uint8_t* row, int width, const PreparedChannelTables& tables);

// Row by row, reporting each row before mapping it; false when report stops it, with
// the rows before mapped.
bool MapChannelTables(const PixelRows& image, const ChannelTables& tables, const UnitReport& report);

// The same over a host's bitmap handle, with its progress sink (may be null), which
// is told at the end whether the work succeeded. False for a missing argument, a
// bitmap without description, or a stop; rows already mapped stay so.
bool ApplyChannelTables(HBITMAP bitmap, const uint8_t* red, const uint8_t* green, const uint8_t* blue,
                        IProgress* progress);
