#include "filters/shared/channel-tables/GainTable.h"

#include <algorithm>

// Clamped before the half is added, so that 255 x a factor above 1 stays 255 and a
// negative factor gives 0, not a wrapped byte.
void BuildGainTable(double factor, uint8_t table[256])
{
    for (int i = 0; i < 256; ++i) {
        const double scaled = std::clamp(i * factor, 0.0, 255.0);
        table[i] = static_cast<uint8_t>(scaled + 0.5);
    }
}

GainTables BuildGainTables(double red, double green, double blue)
{
    GainTables tables;
    BuildGainTable(red, tables.red);
    BuildGainTable(green, tables.green);
    BuildGainTable(blue, tables.blue);
    return tables;
}
