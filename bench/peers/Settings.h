#pragma once
// The parameters every side is given for the tone table and the unsharp mask.

inline constexpr double kBrightness = 20.0;
inline constexpr double kContrast = 1.25;
inline constexpr double kUnsharpAmount = 1.0;
inline constexpr int kUnsharpThreshold = 0;
