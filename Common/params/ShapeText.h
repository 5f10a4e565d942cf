#pragma once
// The preview site's selection and line texts: four whole numbers "%d %d %d %d"
// (left top right bottom, or x1 y1 x2 y2), in picture pixels with y from the top.

#include <array>

using ShapeNumbers = std::array<int, 4>;

// Reads the text as "%d %d %d %d" does: true only when all four numbers are there
// and each is one a setting may hold (no overflowing conversion); whatever follows
// them is ignored. A null text reads nothing.
bool ReadShapeText(const char16_t* text, ShapeNumbers& numbers);

// How many of the four numbers the text starts with, read as "%d %d %d %d" reads
// them up to the first that is missing or refused; those are stored, the others
// left as they were.
int ReadShapeNumbers(const char16_t* text, ShapeNumbers& numbers);
