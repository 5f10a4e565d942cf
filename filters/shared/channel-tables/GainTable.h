#pragma once
// A transfer table that scales every level by one factor: how colour balance turns a
// channel's percentage into a table, and how the colour-cast fix applies the factors
// it found.

#include <cstdint>

// Entry i is i x factor brought into 0 to 255 and rounded half up.
void BuildGainTable(double factor, uint8_t table[256]);

// One such table per channel, for ApplyChannelTables or MapChannelTables.
struct GainTables {
    uint8_t red[256];
    uint8_t green[256];
    uint8_t blue[256];
};

GainTables BuildGainTables(double red, double green, double blue);
