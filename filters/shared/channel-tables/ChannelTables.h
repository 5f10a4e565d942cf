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

// The tables widened to 32-bit entries, so that one vector gather looks up eight pixels.
struct WideChannelTables {
    alignas(32) int32_t red[256];
    alignas(32) int32_t green[256];
    alignas(32) int32_t blue[256];
};

// Both map width pixels (blue, green, red, fourth byte each) in place, to the same bytes.
void MapChannelRowPortable(uint8_t* row, int width, const ChannelTables& tables);
void MapChannelRowAvx2(uint8_t* row, int width, const WideChannelTables& wide, const ChannelTables& tables);

// Row by row, reporting each row before mapping it; false when report stops it, with
// the rows before mapped.
bool MapChannelTables(const PixelRows& image, const ChannelTables& tables, const UnitReport& report);

// The same over a host's bitmap handle, with its progress sink (may be null), which
// is told at the end whether the work succeeded. False for a missing argument, a
// bitmap without description, or a stop; rows already mapped stay so.
bool ApplyChannelTables(HBITMAP bitmap, const uint8_t* red, const uint8_t* green, const uint8_t* blue,
                        IProgress* progress);
