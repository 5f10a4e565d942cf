#include "filters/autofix/AutofixRotationFix.h"

#include "filters/autofix/AutofixPhases.h"
#include "filters/rotate/RotateFactory.h"
#include "filters/rotate/RotateFilter.h"
#include "filters/rotate/RotationLayout.h"
#include "filters/shared/straightening/StraighteningAngle.h"
#include "plugin/ModuleFactories.h"
#include "resources/StringIds.h"

namespace {

constexpr double kPi = 3.141592653589793;

// The detection measures the tilt in section rows, which run bottom-up, while the
// rotation turns counter-clockwise on screen for a positive angle: turning by the
// tilt itself would double it.
double LevellingDegrees(float tilt)
{
    const double radians = -static_cast<double>(tilt);
    return radians / kPi * 180;
}

} // namespace

// The rotation filter comes from its factory, which holds the host object that makes
// the turned image.
bool FixRotation(IImage* working, IProgress* progress, IImage** rotated)
{
    CComPtr<IProgress> passes;
    if (!OpenTwoPasses(progress, IDS_PROGRESS_FIXING_ROTATION, passes)) return EndFix(progress, false);
    const float tilt = DetectStraighteningAngle(working->GetBitmap(), passes.Get(), kStraighteningEdgePadding,
                                                kStraighteningThreshold);
    CComPtr<IFilter> made;
    if (!FactoryOf<CInteractiveRotateFactory>().CreateFilter(working, made.Receive(), nullptr))
        return EndFix(progress, false);
    auto* rotation = dynamic_cast<CInteractiveRotate*>(made.Get());
    if (rotation == nullptr) return EndFix(progress, false);
    rotation->SetAngleAndCropType(LevellingDegrees(tilt), kRotationCropKeepSize);
    return EndFix(progress, rotation->Apply(working, rotated, passes.Get(), nullptr));
}
