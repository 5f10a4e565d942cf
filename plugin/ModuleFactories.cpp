#include "plugin/ModuleFactories.h"

#include "filters/frames/FramesFactory.h"
#include "filters/flip-rotate/FlipHorFactory.h"
#include "filters/flip-rotate/FlipVerFactory.h"
#include "filters/crop/CropFactory.h"
#include "filters/resize/ResizeFactory.h"
#include "filters/rotate/RotateFactory.h"
#include "filters/lens-distort/LensDistortFactory.h"
#include "filters/flip-rotate/Rot0DegreesFactory.h"
#include "filters/flip-rotate/Rot180Factory.h"
#include "filters/flip-rotate/Rot90ClockWiseFactory.h"
#include "filters/flip-rotate/Rot90CounterClockWiseFactory.h"
#include "filters/hot-pixels/HotPixelFixFactory.h"
#include "filters/median/MedianFactory.h"
#include "filters/noise/NoiseFactory.h"
#include "filters/red-eye/RedEyeFactory.h"
#include "filters/sharpen/SharpenFactory.h"
#include "filters/color-balance/ColorBalanceFactory.h"
#include "filters/exposure/ExposureFactory.h"
#include "filters/autofix/AutofixFactory.h"
#include "filters/brightness-contrast/BrightnessContrastFactory.h"
#include "filters/invert/InvertFactory.h"
#include "filters/vignetting/VignettingFactory.h"

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
