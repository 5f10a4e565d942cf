#pragma once
// Sharpen: a Gaussian blur, or an unsharp mask built on the same blur, whichever page
// of the settings sheet the user looked at last.

#include "Common/base/FilterInputs.h"
#include "Common/base/InteractiveFilterBase.h"
#include "filters/shared/gaussian/SeparablePasses.h"

class CParamList;

inline constexpr const char16_t* kSharpenActivePageKey = u"SharpenActivePage";
inline constexpr const char16_t* kUnsharpMaskPageName = u"UnsharpMask";
inline constexpr const char16_t* kGaussianBlurPageName = u"GaussianBlur";
inline constexpr const char16_t* kGaussianBlurSizeKey = u"GaussianBlurSize";
inline constexpr const char16_t* kUnsharpMaskSizeKey = u"UnsharpMaskSize";
inline constexpr const char16_t* kUnsharpMaskAmountKey = u"UnsharpMaskAmount";
inline constexpr const char16_t* kUnsharpMaskThresholdKey = u"UnsharpMaskThreshold";

class CInteractiveSharpnessFilter final : public CInteractiveFilterBase {
public:
    CInteractiveSharpnessFilter(IUnknown* source, IPluginHost* host);

    bool Apply(IUnknown* input, IImage** result, IProgress* progress, IStatus** status) override;

protected:
    bool CreateDialogWindow(QWidget* parent, IStatus** status) override;

private:
    bool GaussianBlur(IUnknown* input, const CParamList& params, IImage** result, IProgress* progress,
                      IStatus** status);
    bool UnsharpMask(IUnknown* input, const CParamList& params, IImage** result, IProgress* progress,
                     IStatus** status);

    CFilterInputs m_inputs;
    // Chosen once, from the processor, when the filter is made.
    BlurPath m_path;
};
