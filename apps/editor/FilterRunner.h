#pragma once
// Applies a filter to a whole photo the way the editor does it everywhere: progress
// and Cancel in the status line, the rest of the window holding still meanwhile.

#include "Common/base/FilterInterfaces.h"
#include "platform/ComPtr.h"

#include <QString>

class CProgressPanel;

class CFilterRunner {
public:
    struct Outcome {
        CComPtr<IImage> result;  // empty when the filter failed
        CComPtr<IStatus> status;
        bool cancelledByUser = false;
    };

    explicit CFilterRunner(CProgressPanel* panel) : m_panel(panel) {}

    // input may be null: the filter then works on the source it was created with.
    Outcome Run(IFilter* filter, IImage* input, const QString& title);
    bool IsBusy() const { return m_busy; }
    // Asks the running filter to stop at its next step.
    void RequestCancel();

private:
    CProgressPanel* m_panel;
    bool m_busy = false;
};
