#pragma once
// Maps every pixel of a 32-bit bitmap through one table per colour channel; the
// fourth byte stays as it is. Brightness and contrast, exposure, autofix and the
// colour-balance preview all end here.

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

// Row by row, reporting each row to progress (may be null) before mapping it. False
// for a missing argument, a bitmap without description, or a stop from progress,
// which is then told the work ended unsuccessfully; rows already mapped stay so.
bool ApplyChannelTables(HBITMAP bitmap, const uint8_t* red, const uint8_t* green, const uint8_t* blue,
                        IProgress* progress);
