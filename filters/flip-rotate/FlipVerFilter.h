#pragma once
// Mirrors a copy of the input top to bottom by exchanging whole lines of bytes, one
// pair of lines per progress step.

#include "Common/base/PlainFilter.h"

class CFlipVerFilter final : public CPlainFilter {
public:
    CFlipVerFilter(IUnknown* source, IPluginHost* host);

    bool Apply(IUnknown* input, IImage** result, IProgress* progress, IStatus** status) override;

private:
    // Exchanges the lines of the two cursors, which walk towards each other, through a
    // one-line buffer; false when the buffer cannot be had or the user cancels.
    static bool SwapLinePairs(IImage* image, ILineCursor* bottom, ILineCursor* top, IProgress* progress,
                              IStatus** status);
};
