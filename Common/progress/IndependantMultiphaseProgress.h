#pragma once
// Passes of equal weight: each pass reports against its own total, and the host's
// sink sees every pass as one share of a thousand units.

#include "Common/progress/ProgressBase.h"
#include "platform/ComPtr.h"

class CIndependantMultiphaseProgress final : public CProgressBase {
public:
    // Answers false, creating nothing, for a null out-pointer or inner sink, and false
    // with a null result when memory runs out. The adapter holds a reference to inner;
    // the caller owns the one reference of the result.
    static bool Create(IProgress** progress, IProgress* inner, int passes, bool allowTextChanges);

    // Without allowTextChanges only the first text reaches the host.
    void SetText(const char16_t* text) override;
    // A total below 1 reads as a cancel.
    bool Step(int done, int total) override;
    // Ends the current pass whatever the outcome; the host's sink is not told.
    void Finish(bool) override { ++m_pass; }

private:
    CIndependantMultiphaseProgress(IProgress* inner, int passes, bool allowTextChanges);

    CComPtr<IProgress> m_inner;
    bool m_textShown = false;
    bool m_allowTextChanges;
    int m_passes;
    int m_pass = 0;
};
