#include "filters/autofix/AutofixNoiseFix.h"

#include "filters/autofix/AutofixPhases.h"
#include "filters/shared/noise/NoiseEngine.h"
#include "resources/StringIds.h"

namespace {

// The Noise filter's removal page passes the same: the estimator's blocks of 20
// pixels valued by luminance, red, green and blue as they are, and variances
// divided by the pixel count.
constexpr bool kEstimateLevels = true;
constexpr int kSmoothness = 3;
constexpr int kEstimatorBlockSize = 20;
constexpr int kRedGreenBlueChannels = 0;
constexpr int kLuminanceBlockValues = 1;
constexpr int kDivideByPixelCount = 1;

} // namespace

bool FixNoise(IImage* working, IProgress* progress)
{
    ShowFixText(progress, IDS_PROGRESS_NOISE_REMOVE);
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
    const bool reduced = ReduceNoise(working->GetBitmap(), progress, kEstimateLevels, &red, &green, &blue, kSmoothness,
                                     kEstimatorBlockSize, kRedGreenBlueChannels, kLuminanceBlockValues,
                                     kDivideByPixelCount);
    return EndFix(progress, reduced);
}
