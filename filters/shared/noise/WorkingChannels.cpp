#include "filters/shared/noise/WorkingChannels.h"

namespace {

template <class Convert>
void ConvertRow(const uint32_t* pixels, int width, const WorkingRow& out, Convert convert)
{
    for (int x = 0; x < width; ++x) {
        const WorkingTriple values = convert(pixels[x]);
        out.channel[0][x] = static_cast<int16_t>(values.first);
        out.channel[1][x] = static_cast<int16_t>(values.second);
        out.channel[2][x] = static_cast<int16_t>(values.third);
    }
}

template <class Value>
void ValuesOfRow(const uint32_t* pixels, int width, int16_t* out, Value value)
{
    for (int x = 0; x < width; ++x) out[x] = static_cast<int16_t>(value(pixels[x]));
}

} // namespace

void ConvertToWorkingRow(const uint32_t* pixels, int width, bool luma, const WorkingRow& out)
{
    if (luma) {
        ConvertRow(pixels, width, out, [](uint32_t pixel) { return LumaAndDifferencesOf(pixel); });
    } else {
        ConvertRow(pixels, width, out, [](uint32_t pixel) { return ColoursOf(pixel); });
    }
}

// The mode is fixed for a whole picture; choosing it once per row keeps the switch
// out of the per-pixel loop, and a lambda per mode lets each loop inline its measure.
void BlockValuesOfRow(const uint32_t* pixels, int width, int mode, int16_t* out)
{
    switch (mode) {
    case 1:
        ValuesOfRow(pixels, width, out, [](uint32_t pixel) { return LumaOfPixel(pixel); });
        break;
    case 2:
        ValuesOfRow(pixels, width, out, [](uint32_t pixel) { return LargestColourOf(pixel); });
        break;
    case 3:
        ValuesOfRow(pixels, width, out, [](uint32_t pixel) { return MiddleOfExtremesOf(pixel); });
        break;
    default:
        ValuesOfRow(pixels, width, out, [](uint32_t pixel) { return MeanColourOf(pixel); });
        break;
    }
}
