#pragma once
// Mirrors a copy of the input top to bottom by exchanging whole lines of bytes, one
// pair of lines per progress step. It walks the host's line cursors rather than the
// bitmap, so the copy needs no pixel buffer of its own.

#include "Common/base/PlainFilter.h"

class CFlipVerFilter final : public CPlainFilter {
public:
    CFlipVerFilter(IUnknown* source, IPluginHost* host);

protected:
    CApplyOutcome MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working) override;
    CApplyOutcome ChangePixels(IUnknown* input, IImage* working, IProgress* progress) override;

private:
    // Exchanges the lines of the two cursors, which walk towards each other, through a
    // one-line buffer.
    static CApplyOutcome SwapLinePairs(IImage* image, ILineCursor* bottom, ILineCursor* top, IProgress* progress);
};
