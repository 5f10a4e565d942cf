#include "apps/editor/PanelProgress.h"

#include "apps/editor/ProgressPanel.h"

#include <QCoreApplication>

#include <new>

namespace {

// Often enough for the bar to move smoothly and a click to be felt at once, rarely
// enough not to slow a filter that steps once per row.
constexpr qint64 kEventIntervalMs = 30;

} // namespace

CPanelProgress* CPanelProgress::Create(CProgressPanel* panel)
{
    return new (std::nothrow) CPanelProgress(panel);
}

void CPanelProgress::SetText(const char16_t* text)
{
    if (m_panel && text != nullptr) m_panel->SetText(QString::fromUtf16(text));
    HandleEventsIfDue();
}

bool CPanelProgress::Step(int done, int total)
{
    if (m_panel) m_panel->SetStep(done, total);
    HandleEventsIfDue();
    return m_panel && !m_panel->CancelRequested();
}

void CPanelProgress::Finish(bool)
{
}

void CPanelProgress::HandleEventsIfDue()
{
    if (m_sinceEvents.isValid() && m_sinceEvents.elapsed() < kEventIntervalMs) return;
    QCoreApplication::processEvents();
    m_sinceEvents.start();
}
