#pragma once
// Passes that report in units of one grand total fixed in advance: each pass counts
// from zero, and the host's sink sees the units of all passes so far added up.

#include "Common/progress/ProgressBase.h"
#include "platform/ComPtr.h"

class CMultiphaseProgress final : public CProgressBase {
public:
    // Answers false, creating nothing, for a null out-pointer or inner sink, and false
    // with a null result when memory runs out. The adapter holds a reference to inner;
    // the caller owns the one reference of the result.
    static bool Create(IProgress** progress, IProgress* inner, int grandTotal);

    // A new text starts a new pass, counted from zero.
    void SetText(const char16_t* text) override;
    // The pass's own total is not used: the units count against the grand total.
    bool Step(int done, int total) override;
    // The filter finishes the host's sink itself.
    void Finish(bool) override {}

private:
    CMultiphaseProgress(IProgress* inner, int grandTotal);

    CComPtr<IProgress> m_inner;
    int m_accumulated = 0;
    int m_grandTotal;
    int m_lastDone = 0;
};
