#pragma once
// The progress sink the editor hands a filter: it moves the status line's bar and
// answers the Cancel button. Filters run on the user-interface thread, so the sink
// lets the application handle its events now and then; otherwise neither the bar
// nor the button would ever react.

#include "Common/progress/ProgressBase.h"

#include <QElapsedTimer>
#include <QPointer>

class CProgressPanel;

class CPanelProgress final : public CProgressBase {
public:
    // Count 1.
    static CPanelProgress* Create(CProgressPanel* panel);

    void SetText(const char16_t* text) override;
    // False once the user asked to cancel.
    bool Step(int done, int total) override;
    void Finish(bool success) override;

private:
    explicit CPanelProgress(CProgressPanel* panel) : m_panel(panel) {}
    ~CPanelProgress() override = default;

    void HandleEventsIfDue();

    QPointer<CProgressPanel> m_panel;
    QElapsedTimer m_sinceEvents;
};
