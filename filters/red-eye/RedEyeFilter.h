#pragma once
// Red-eye reduction: the region around the eyes is drawn on the host's preview and
// lives in the filter; there is no parameter text.

#include "Common/base/InteractiveFilterBase.h"
#include "platform/Rect.h"

class CInteractiveRedEye final : public CInteractiveFilterBase {
public:
    CInteractiveRedEye(IUnknown* source, IPluginHost* host);

    // Four numbers in the preview site's selection become the region, each axis in
    // increasing order, and an open dialog marks it. Fewer numbers replace the
    // leading fields (left, top, right) only, as they stand.
    void SelectionChanged() override;

    // Picture pixels, y from the top; empty until a selection was read.
    const RECT& Region() const { return m_region; }

protected:
    bool CreateDialogWindow(QWidget* parent, IStatus** status) override;
    CApplyOutcome CheckInput(IUnknown* input) override;
    CApplyOutcome MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working) override;
    CApplyOutcome ChangePixels(IUnknown* input, IImage* working, IProgress* progress) override;

private:
    RECT m_region{0, 0, 0, 0};
};
