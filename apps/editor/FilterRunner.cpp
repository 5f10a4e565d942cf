#include "apps/editor/FilterRunner.h"

#include "apps/editor/InputBlocker.h"
#include "apps/editor/PanelProgress.h"
#include "apps/editor/ProgressPanel.h"


CFilterRunner::Outcome CFilterRunner::Run(IFilter* filter, IImage* input, const QString& title)
{
    Outcome outcome;
    if (m_busy) return outcome;
    m_busy = true;
    {
        const CInputBlocker blocker(m_panel);
        m_panel->Begin(title);
        auto progress = CComPtr<CPanelProgress>::Adopt(CPanelProgress::Create(m_panel));
        if (!filter->Apply(input, outcome.result.Receive(), progress.Get(), outcome.status.Receive())) {
            outcome.result.Reset();
        }
        outcome.cancelledByUser = !outcome.result && m_panel->CancelRequested();
        m_panel->End();
    }
    m_busy = false;
    return outcome;
}

void CFilterRunner::RequestCancel()
{
    if (m_busy) m_panel->RequestCancel();
}
