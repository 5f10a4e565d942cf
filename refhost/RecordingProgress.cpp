#include "refhost/RecordingProgress.h"

#include <algorithm>
#include <new>

CRecordingProgress* CRecordingProgress::Create(int cancelAtStep)
{
    return new (std::nothrow) CRecordingProgress(cancelAtStep);
}

void CRecordingProgress::SetText(const char16_t* text)
{
    m_events.push_back({Call::SetText, text != nullptr ? WString(text) : WString(), 0, 0, false});
}

bool CRecordingProgress::Step(int done, int total)
{
    m_events.push_back({Call::Step, {}, done, total, false});
    return m_steps++ != m_cancelAtStep;
}

void CRecordingProgress::Finish(bool success)
{
    m_events.push_back({Call::Finish, {}, 0, 0, success});
}

int CRecordingProgress::CountOf(Call call) const
{
    return static_cast<int>(std::count_if(m_events.begin(), m_events.end(),
                                          [call](const Event& event) { return event.call == call; }));
}
