#include "filters/brightness-contrast/BrightnessContrastKernel.h"

void BuildBrightnessContrastTable(double brightness, double contrast, uint8_t table[256])
{
    for (int i = 0; i < 256; ++i) {
        const double v = (i - 128) * contrast + 128.0 + brightness;
        // Truncation, not rounding: only 255.0 and above reach 255.
        if (v >= 255.0) table[i] = 255;
        else if (v < 0.0) table[i] = 0;
        else table[i] = static_cast<uint8_t>(v);
    }
}
