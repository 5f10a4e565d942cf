#pragma once
// A progress sink that writes down every call, and can answer "cancel" at a chosen
// Step, so that tests see what a filter told the user and in which order.

#include "Common/progress/ProgressBase.h"
#include "platform/WideString.h"

#include <vector>

class CRecordingProgress final : public CProgressBase {
public:
    enum class Call { SetText, Step, Finish };
    struct Event {
        Call call;
        WString text;     // SetText
        int done = 0;     // Step
        int total = 0;    // Step
        bool success = false;  // Finish
    };

    static constexpr int kNeverCancel = -1;

    // Count 1. Step number cancelAtStep (0 is the first Step) answers false.
    static CRecordingProgress* Create(int cancelAtStep = kNeverCancel);

    void SetText(const char16_t* text) override;
    bool Step(int done, int total) override;
    void Finish(bool success) override;

    const std::vector<Event>& Events() const { return m_events; }
    int CountOf(Call call) const;

private:
    explicit CRecordingProgress(int cancelAtStep) : m_cancelAtStep(cancelAtStep) {}
    ~CRecordingProgress() override = default;

    int m_cancelAtStep;
    int m_steps = 0;
    std::vector<Event> m_events;
};
