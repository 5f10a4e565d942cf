#include "plugin/ModuleFactories.h"

#include "filters/frames/InteractiveFrameFilterFactory.h"
#include "filters/geometry/FlipHorFactory.h"
#include "filters/geometry/FlipVerFactory.h"
#include "filters/geometry/InteractiveCropFactory.h"
#include "filters/geometry/InteractiveResizeFactory.h"
#include "filters/geometry/InteractiveRotateFactory.h"
#include "filters/geometry/LensDistortFactory.h"
#include "filters/geometry/Rot0DegreesFactory.h"
#include "filters/geometry/Rot180Factory.h"
#include "filters/geometry/Rot90ClockWiseFactory.h"
#include "filters/geometry/Rot90CounterClockWiseFactory.h"
#include "filters/neighbourhood/InteractiveHotPixelFixFactory.h"
#include "filters/neighbourhood/InteractiveMedianFactory.h"
#include "filters/neighbourhood/InteractiveNoiseFactory.h"
#include "filters/neighbourhood/InteractiveRedEyeFactory.h"
#include "filters/neighbourhood/InteractiveSharpnessFactory.h"
#include "filters/tone/ColorBalanceFactory.h"
#include "filters/tone/ExposureFactory.h"
#include "filters/tone/InteractiveAutofixFactory.h"
#include "filters/tone/InteractiveBrightnessContrastFactory.h"
#include "filters/tone/InvertFactory.h"
#include "filters/tone/VignettingFactory.h"

namespace {

CFlipHorFactory g_flipHor;
CFlipVerFactory g_flipVer;
CInvertFactory g_invert;
CRot90ClockWiseFactory g_rot90ClockWise;
CRot90CounterClockWiseFactory g_rot90CounterClockWise;
CInteractiveRotateFactory g_rotate;
CColorBalanceFactory g_colorBalance;
CExposureFactory g_exposure;
CLensDistortFactory g_lensDistort;
CInteractiveSharpnessFactory g_sharpness;
CInteractiveCropFactory g_crop;
CInteractiveNoiseFactory g_noise;
CInteractiveBrightnessContrastFactory g_brightnessContrast;
CVignettingFactory g_vignetting;
CRot180Factory g_rot180;
CInteractiveHotPixelFixFactory g_hotPixelFix;
CInteractiveAutofixFactory g_autofix;
CRot0DegreesFactory g_rot0Degrees;
CInteractiveResizeFactory g_resize;
CInteractiveMedianFactory g_median;
CInteractiveRedEyeFactory g_redEye;
CInteractiveFrameFilterFactory g_frameFilter;

// Addresses only: constant-initialised, so usable before any constructor has run.
constexpr std::array<CFilterFactoryBase*, 20> kListed = {
    &g_flipHor,  &g_flipVer,  &g_invert,   &g_rot90ClockWise,     &g_rot90CounterClockWise,
    &g_rotate,   &g_colorBalance, &g_exposure, &g_lensDistort,    &g_sharpness,
    &g_crop,     &g_noise,    &g_brightnessContrast, &g_vignetting, &g_rot180,
    &g_hotPixelFix, &g_autofix, &g_rot0Degrees, &g_resize,         &g_median,
};

} // namespace

const std::array<CFilterFactoryBase*, 20>& ListedFactories()
{
    return kListed;
}

CFilterFactoryBase& RedEyeFactory() { return g_redEye; }
CFilterFactoryBase& FrameFilterFactory() { return g_frameFilter; }
CFilterFactoryBase& Rot0DegreesFactory() { return g_rot0Degrees; }
CFilterFactoryBase& Rot90ClockWiseFactory() { return g_rot90ClockWise; }
CFilterFactoryBase& Rot90CounterClockWiseFactory() { return g_rot90CounterClockWise; }
CFilterFactoryBase& Rot180Factory() { return g_rot180; }
