#include "Common/progress/IndependantMultiphaseProgress.h"

#include <algorithm>
#include <new>

namespace {

constexpr int kShare = 1000;

// The share of a pass that is done, truncated: a pass reads as complete only when it is.
int Thousandths(int done, int total)
{
    const double share = static_cast<double>(done) / total * kShare;
    // Clamped before the conversion, which is undefined outside the int range.
    return static_cast<int>(std::clamp(share, 0.0, static_cast<double>(kShare)));
}

} // namespace

CIndependantMultiphaseProgress::CIndependantMultiphaseProgress(IProgress* inner, int passes, bool allowTextChanges)
    : m_inner(CComPtr<IProgress>::Share(inner)), m_allowTextChanges(allowTextChanges), m_passes(passes)
{
}

bool CIndependantMultiphaseProgress::Create(IProgress** progress, IProgress* inner, int passes, bool allowTextChanges)
{
    if (progress == nullptr || inner == nullptr) return false;
    *progress = new (std::nothrow) CIndependantMultiphaseProgress(inner, passes, allowTextChanges);
    return *progress != nullptr;
}

void CIndependantMultiphaseProgress::SetText(const char16_t* text)
{
    if (m_textShown && !m_allowTextChanges) return;
    m_inner->SetText(text);
    m_textShown = true;
}

bool CIndependantMultiphaseProgress::Step(int done, int total)
{
    if (total < 1) return false;
    return m_inner->Step(m_pass * kShare + Thousandths(done, total), m_passes * kShare);
}
