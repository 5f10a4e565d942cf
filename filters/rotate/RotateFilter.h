#pragma once
// Free rotation by any angle in degrees. Angles within 0.01 of a right angle go to
// the exact right-angle filters; every other angle is resampled here in fixed point,
// with a background colour for the uncovered corners and three ways to size the
// result. The filter also answers how far its source is tilted.

#include "Common/base/InteractiveFilterBase.h"
#include "filters/rotate/RotationLayout.h"
#include "plugin/StraighteningInterfaces.h"

#include <mutex>
#include <optional>

class CInteractiveRotate final : public CInteractiveFilterBase, public IAutomaticAngle {
public:
    CInteractiveRotate(IUnknown* source, IPluginHost* host);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    // The turn that levels the default source, the negated straightening angle:
    // the detection measures its tilt in section rows, which run bottom-up.
    bool GetAutomaticAngle(double* radians) override;

    // Adds the tilt of the line drawn on the preview to the angle.
    void SelectionChanged() override;

    // For a caller inside the module that holds the angle as a number: it is kept
    // exactly, where the parameter text would keep six decimals. The background
    // stays as it was.
    void SetAngleAndCropType(double degrees, int cropType);

protected:
    bool CreateDialogWindow(QWidget* parent, IStatus** status) override;
    void OnFormatChanged() override;
    bool AppliesElsewhere(IUnknown* input, IImage** result, IProgress* progress, IStatus** status,
                          bool& applied) override;
    CApplyOutcome CheckInput(IUnknown* input) override;
    CApplyOutcome ReadSettings(IUnknown* input) override;
    CApplyOutcome MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working) override;
    CApplyOutcome ChangePixels(IUnknown* input, IImage* working, IProgress* progress) override;
    void EndApply() override { m_layout.reset(); }

private:
    struct Settings {
        double angle = 0.0;       // degrees, counter-clockwise on screen
        uint32_t background = 0;  // 0x00BBGGRR
        int cropType = kRotationKeepWhole;
    };

    Settings CurrentSettings();

    // Kept from the parameter text: a text without a key leaves its member as it was.
    std::mutex m_settingsLock;
    Settings m_settings;

    // Read by the apply under way.
    Settings m_applying;
    RotationSampling m_sampling = RotationSampling::Bilinear;
    std::optional<RotationLayout> m_layout;
};
