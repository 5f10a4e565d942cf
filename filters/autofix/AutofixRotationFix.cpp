#include "filters/autofix/AutofixRotationFix.h"

#include "filters/autofix/AutofixPhases.h"

#include "Common/progress/ProgressBase.h"
#include "filters/rotate/RotateFactory.h"
#include "filters/rotate/RotateFilter.h"
#include "filters/rotate/RotationLayout.h"
#include "filters/shared/straightening/StraighteningAngle.h"
#include "plugin/ModuleFactories.h"
#include "resources/StringIds.h"

#include <new>

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

// The detection answers 0 when its sink asks it to stop, as for a photo without a
// tilt. This sink in between remembers the stop, so that a cancelled fix turns
// nothing instead of going on with an angle of 0.
class CStopNotingProgress final : public CProgressBase {
public:
    explicit CStopNotingProgress(IProgress* inner) : m_inner(CComPtr<IProgress>::Share(inner)) {}

    void SetText(const char16_t* text) override { m_inner->SetText(text); }
    bool Step(int done, int total) override
    {
        const bool goOn = m_inner->Step(done, total);
        m_stopped = m_stopped || !goOn;
        return goOn;
    }
    void Finish(bool success) override { m_inner->Finish(success); }

    bool Stopped() const { return m_stopped; }

private:
    CComPtr<IProgress> m_inner;
    bool m_stopped = false;
};

} // namespace

// The rotation filter comes from its factory, which holds the host object that makes
// the turned image.
bool FixRotation(IImage* working, IProgress* progress, IImage** rotated)
{
    CComPtr<IProgress> passes;
    if (!OpenTwoPasses(progress, IDS_PROGRESS_FIXING_ROTATION, passes)) return EndFix(progress, false);
    CComPtr<CStopNotingProgress> detecting;
    if (passes) {
        detecting = CComPtr<CStopNotingProgress>::Adopt(new (std::nothrow) CStopNotingProgress(passes.Get()));
        if (!detecting) return EndFix(progress, false);
    }
    const float tilt = DetectStraighteningAngle(working->GetBitmap(), detecting.Get(), kStraighteningEdgePadding,
                                                kStraighteningThreshold);
    if (detecting && detecting->Stopped()) return EndFix(progress, false);
    CComPtr<IFilter> made;
    if (!FactoryOf<CInteractiveRotateFactory>().CreateFilter(working, made.Receive(), nullptr))
        return EndFix(progress, false);
    auto* rotation = dynamic_cast<CInteractiveRotate*>(made.Get());
    if (rotation == nullptr) return EndFix(progress, false);
    rotation->SetAngleAndCropType(LevellingDegrees(tilt), kRotationCropKeepSize);
    return EndFix(progress, rotation->Apply(working, rotated, passes.Get(), nullptr));
}
