#include "plugin/ModuleFactories.h"

#include "filters/autofix/AutofixFactory.h"
#include "filters/brightness-contrast/BrightnessContrastFactory.h"
#include "filters/color-balance/ColorBalanceFactory.h"
#include "filters/crop/CropFactory.h"
#include "filters/exposure/ExposureFactory.h"
#include "filters/flip-rotate/FlipHorFactory.h"
#include "filters/flip-rotate/FlipVerFactory.h"
#include "filters/flip-rotate/Rot0DegreesFactory.h"
#include "filters/flip-rotate/Rot180Factory.h"
#include "filters/flip-rotate/Rot90ClockWiseFactory.h"
#include "filters/flip-rotate/Rot90CounterClockWiseFactory.h"
#include "filters/frames/FramesFactory.h"
#include "filters/hot-pixels/HotPixelFixFactory.h"
#include "filters/invert/InvertFactory.h"
#include "filters/lens-distort/LensDistortFactory.h"
#include "filters/median/MedianFactory.h"
#include "filters/noise/NoiseFactory.h"
#include "filters/red-eye/RedEyeFactory.h"
#include "filters/resize/ResizeFactory.h"
#include "filters/rotate/RotateFactory.h"
#include "filters/sharpen/SharpenFactory.h"
#include "filters/vignetting/VignettingFactory.h"

#include <array>
#include <tuple>
#include <vector>

namespace {

// The factory table: one row a filter. The listed factories stand in the order the
// enumerator hands them out; a description that keeps its factory unlisted takes it
// out of that order wherever its row stands.
using FactoryTable = std::tuple<
    CFlipHorFactory,
    CFlipVerFactory,
    CInvertFactory,
    CRot90ClockWiseFactory,
    CRot90CounterClockWiseFactory,
    CInteractiveRotateFactory,
    CColorBalanceFactory,
    CExposureFactory,
    CLensDistortFactory,
    CInteractiveSharpnessFactory,
    CInteractiveCropFactory,
    CInteractiveNoiseFactory,
    CInteractiveBrightnessContrastFactory,
    CVignettingFactory,
    CRot180Factory,
    CInteractiveHotPixelFixFactory,
    CInteractiveAutofixFactory,
    CRot0DegreesFactory,
    CInteractiveResizeFactory,
    CInteractiveMedianFactory,
    CInteractiveRedEyeFactory,
    CInteractiveFrameFilterFactory>;

FactoryTable g_factories;

} // namespace

std::span<CFilterFactoryBase* const> ModuleFactories()
{
    static const auto all = std::apply(
        [](auto&... factory) { return std::array<CFilterFactoryBase*, sizeof...(factory)>{&factory...}; },
        g_factories);
    return all;
}

std::span<CFilterFactoryBase* const> ListedFactories()
{
    static const std::vector<CFilterFactoryBase*> listed = [] {
        std::vector<CFilterFactoryBase*> kept;
        for (CFilterFactoryBase* factory : ModuleFactories()) {
            if (factory->IsListed()) kept.push_back(factory);
        }
        return kept;
    }();
    return listed;
}
