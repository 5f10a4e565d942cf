#pragma once
// The fading frame's bands a row at a time. In the side bands every column keeps its
// own share of the picture, so a span of a row meets as many blends as it has
// pixels: tables per column would not stay in cache across a row; the pixel rule
// itself, with the colour's part worked out once per column, does. The top and
// bottom bands' rows keep one share each, and the same arithmetic with that share
// costs less than filling and reading tables for every row.

#include "filters/frames/FrameBlend.h"

#include <cstdint>
#include <vector>

// Per column of a band, in column order: the picture's share and the colour's part
// of each channel, colour x (1 - share), as FadeFramePixel works it out.
struct ColumnFades {
    std::vector<double> weights;
    std::vector<double> red;
    std::vector<double> green;
    std::vector<double> blue;
    bool sharesWithinOne = true;  // every weight in 0 .. 1
};

ColumnFades MakeColumnFades(const FrameColor& color, const std::vector<double>& weights);

// Blends pixels[0 .. count - 1] with columns first .. first + count - 1 of fades:
// each becomes FadeFramePixel(pixel, colour, weight of its column). The portable loop
// defines the bits; the AVX2 one gives the same and may only run where the processor
// has it (platform/CpuFeatures.h).
using FadeSpanLoop = void (*)(uint32_t* pixels, int count, const ColumnFades& fades, int first);
void FadeSpanPortable(uint32_t* pixels, int count, const ColumnFades& fades, int first);
void FadeSpanAvx2(uint32_t* pixels, int count, const ColumnFades& fades, int first);

// A run of pixels that all keep one share: a row of the top or bottom band. The
// colour's part is worked out once, as MakeColumnFades does per column.
struct RowFade {
    double weight;
    FrameColor colorPart;
    bool shareWithinOne;  // weight in 0 .. 1
};

RowFade MakeRowFade(const FrameColor& color, double weight);

// Each of pixels[0 .. count - 1] becomes FadeFramePixel(pixel, colour, weight).
using FadeRowLoop = void (*)(uint32_t* pixels, int count, const RowFade& fade);
void FadeRowPortable(uint32_t* pixels, int count, const RowFade& fade);
void FadeRowAvx2(uint32_t* pixels, int count, const RowFade& fade);

// AVX2 where the processor has it, unless portable code is forced; chosen once.
FadeSpanLoop ChosenFadeSpanLoop();
FadeRowLoop ChosenFadeRowLoop();
