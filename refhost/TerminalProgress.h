#pragma once
// A progress bar on a terminal: the phase text, a bar and a percentage, redrawn in
// place only when the shown percentage changes.

#include "Common/progress/ProgressBase.h"

#include <atomic>
#include <cstdio>
#include <string>

class CTerminalProgress final : public CProgressBase {
public:
    // Count 1. Step answers false once *cancelRequested is true (a null flag never cancels).
    // A null out draws nothing: the sink then only passes a cancel on to the filter.
    static CTerminalProgress* Create(FILE* out, const std::atomic<bool>* cancelRequested);

    void SetText(const char16_t* text) override;
    bool Step(int done, int total) override;
    void Finish(bool success) override;

private:
    CTerminalProgress(FILE* out, const std::atomic<bool>* cancelRequested);
    ~CTerminalProgress() override = default;

    void Draw(int percent);

    FILE* m_out;
    const std::atomic<bool>* m_cancelRequested;
    std::string m_text;
    int m_shownPercent = -1;
    bool m_lineOpen = false;
};
