#pragma once
// Median: every pixel becomes the middle pixel of its neighbourhood by brightness.

#include "Common/base/FilterInputs.h"
#include "Common/base/InteractiveFilterBase.h"

inline constexpr const char16_t* kMedianSizeKey = u"MedianSize";

class CInteractiveMedianFilter final : public CInteractiveFilterBase {
public:
    CInteractiveMedianFilter(IUnknown* source, IPluginHost* host);

    bool Apply(IUnknown* input, IImage** result, IProgress* progress, IStatus** status) override;

protected:
    bool CreateDialogWindow(QWidget* parent, IStatus** status) override;

private:
    CFilterInputs m_inputs;
};
