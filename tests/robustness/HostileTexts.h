#pragma once
// Parameter texts and preview shapes as a careless or hostile host could hand them
// over: values in and far outside the declared ranges, numbers no dialog writes,
// missing and unknown keys, very long texts and UTF-16 that does not decode.

#include "platform/WideString.h"
#include "refhost/FilterCatalog.h"

#include <random>
#include <string>
#include <vector>

// A text for a filter with these declared settings (none for a filter without).
WString HostileParameterText(const std::vector<FilterSetting>& settings, std::mt19937& random);

// A selection or line text "%d %d %d %d" for a picture of width x height, mostly
// inside it, sometimes outside, reversed, huge or no numbers at all.
WString HostileShapeText(int width, int height, std::mt19937& random);

// The text with every character outside printable ASCII as \uXXXX, cut to a length
// a failure message can show.
std::string Printable(const WString& text);
