#pragma once
// The noise engine: estimates a picture's noise levels, from the whole picture or
// from a region the user picked, and reduces the noise of the whole picture with
// them. Autofix, the Noise filter and the hot pixel fixer (on its work copy) run it.

#include "filters/shared/noise/NoiseLevels.h"  // NoiseLevels: variances of the working channels, red (or Y) first
#include "filters/shared/pixels/PixelRows.h"
#include "host/HostInterfaces.h"
#include "platform/Rect.h"

// smoothness: the window's radius, clamped to 1..10. channelSwitch 1 works on a luma
// and two colour differences, any other value on red, green and blue. divisorSwitch
// 0 divides variances by the pixel count less one, any other value by the count.
struct NoiseReductionOptions {
    int smoothness = 3;
    int channelSwitch = 0;
    int divisorSwitch = 1;
};

// blockSize: the side of the estimator's blocks, at least 10 and raised on large
// pictures. blockValueMode: what a block measures of a pixel to decide whether the
// block is usable: 1 the luma, 2 the largest colour, 3 the middle of the smallest and
// largest, any other the mean of the three.
struct NoiseEstimationOptions {
    int blockSize = 20;
    int blockValueMode = 1;
};

// Progress: one count over three times the picture's height, the estimate the first
// third. Pictures narrower or lower than 320 pixels are not estimated (levels 0). The
// channel with the largest window mean is held to the given level; the two others
// to the estimates. When the levels and estimates are all 0 the picture comes back
// exactly as it was, fourth bytes included; every other pixel written has a fourth
// byte of 0. False for a picture without pixels or when report stops the work.

// Whole picture: always estimates; with estimate set the levels become the estimates;
// then reduces.
bool ReduceNoiseOfWhole(const PixelRows& image, const UnitReport& report, bool estimate, NoiseLevels& levels,
                        const NoiseReductionOptions& reduction, const NoiseEstimationOptions& estimation);

// Region (picture pixels, y from the top, right and bottom exclusive): estimates from
// the region, reduces the whole picture; levels become those estimates. The region is
// clipped to the picture and measured in blocks of 10 by the luma, however small it
// is; one without a whole usable block gives levels 0.
bool ReduceNoiseFromRegion(const PixelRows& image, const UnitReport& report, const RECT& region, NoiseLevels& levels,
                           const NoiseReductionOptions& reduction);

// Host entry points over a 32-bit section: Step(done, 3 x height) reports to progress
// (may be null); they never call Finish (their callers do). false on failure or stop,
// also for a missing level pointer or a section of another depth. The levels are
// written back even after a stop.
bool ReduceNoise(HBITMAP bitmap, IProgress* progress, bool estimate, double* red, double* green, double* blue,
                 int smoothness, int blockSize, int channelSwitch, int blockValueMode, int divisorSwitch);
bool ReduceNoiseInRegion(HBITMAP bitmap, IProgress* progress, const RECT& region, double* red, double* green,
                         double* blue, int smoothness, int channelSwitch, int divisorSwitch);
