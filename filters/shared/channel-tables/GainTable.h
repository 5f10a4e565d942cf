#pragma once
// A transfer table that scales every level by one factor: how colour balance turns a
// channel's percentage into a table, and how the colour-cast fix applies the factors
// it found.

#include <cstdint>

// Entry i is i x factor brought into 0 to 255 and rounded half up.
void BuildGainTable(double factor, uint8_t table[256]);
