#pragma once
// Resize: a new pixel size by one of five resampling methods, a new print
// resolution, or both. Nearest neighbour and plain bilinear are the host's own
// resize service; the three filter-kernel methods run in CPlaneResizer.

#include "Common/base/FilterInputs.h"
#include "Common/base/InteractiveFilterBase.h"
#include "Common/status/Status.h"
#include "platform/ComPtr.h"

inline constexpr const char16_t* kResizerModeKey = u"ResizerMode";
inline constexpr const char16_t* kResizerWidthKey = u"ResizerWidth";
inline constexpr const char16_t* kResizerHeightKey = u"ResizerHeight";
inline constexpr const char16_t* kResizerResolutionXKey = u"ResizerResolutionX";
inline constexpr const char16_t* kResizerResolutionYKey = u"ResizerResolutionY";
inline constexpr const char16_t* kResizerWidthInUnitKey = u"ResizerWidthInUnit";
inline constexpr const char16_t* kResizerHeightInUnitKey = u"ResizerHeightInUnit";
inline constexpr const char16_t* kResizerHorUnitKey = u"ResizerHorUnit";
inline constexpr const char16_t* kResizerVerUnitKey = u"ResizerVerUnit";
inline constexpr const char16_t* kResizerConstrainKey = u"ResizerConstrainProportions";

class CInteractiveResize final : public CInteractiveFilterBase {
public:
    CInteractiveResize(IUnknown* source, IPluginHost* host);

    bool Apply(IUnknown* input, IImage** result, IProgress* progress, IStatus** status) override;

protected:
    bool CreateDialogWindow(QWidget* parent, IStatus** status) override;

private:
    struct Settings {
        int sourceWidth;
        int sourceHeight;
        int mode;
        int width;
        int height;
        int resolutionX;
        int resolutionY;
    };

    Settings ReadSettings(IImage* source);
    static bool ResamplerCanTake(const Settings& settings);
    // Both report their failing check through status and answer false.
    bool ResampleWithKernel(IImage* source, const Settings& settings, IProgress* progress, CComPtr<IImage>& resized,
                            IStatus** status);
    bool RunResampler(IImage* source, IImage* created, const Settings& settings, IProgress* progress, IStatus** status);

    CFilterInputs m_inputs;
};
