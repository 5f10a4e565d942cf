#include "Common/progress/MultiphaseProgress.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <new>

CMultiphaseProgress::CMultiphaseProgress(IProgress* inner, int grandTotal)
    : m_inner(CComPtr<IProgress>::Share(inner)), m_grandTotal(grandTotal)
{
}

bool CMultiphaseProgress::Create(IProgress** progress, IProgress* inner, int grandTotal)
{
    if (progress == nullptr || inner == nullptr) return false;
    *progress = new (std::nothrow) CMultiphaseProgress(inner, grandTotal);
    return *progress != nullptr;
}

void CMultiphaseProgress::SetText(const char16_t* text)
{
    m_inner->SetText(text);
    m_lastDone = 0;
}

bool CMultiphaseProgress::Step(int done, int /*total*/)
{
    // Wide arithmetic: a pass's counts come from outside and must not overflow.
    const int64_t accumulated = int64_t{m_accumulated} + done - m_lastDone;
    m_accumulated = static_cast<int>(std::clamp<int64_t>(accumulated, INT_MIN, INT_MAX));
    m_lastDone = done;
    return m_inner->Step(m_accumulated, m_grandTotal);
}
