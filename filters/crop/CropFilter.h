#pragma once
// Crop: the picture cut down to the rectangle the user drags on the host's preview.
// The rectangle lives in the filter, not in the parameter text, and the cutting is
// the host image's own crop.

#include "Common/base/InteractiveFilterBase.h"
#include "platform/Rect.h"

class CInteractiveCrop final : public CInteractiveFilterBase {
public:
    CInteractiveCrop(IUnknown* source, IPluginHost* host);

    // Takes the preview site's selection when it is four numbers, each axis in
    // increasing order, and marks it on an open dialog's thumbnail.
    void SelectionChanged() override;

protected:
    bool CreateDialogWindow(QWidget* parent, IStatus** status) override;
    CApplyOutcome CheckInput(IUnknown* input) override;
    CApplyOutcome MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working) override;

private:
    // Picture pixels, y from the top; all 0 until a selection was read.
    RECT m_selection{0, 0, 0, 0};
};
