#include "refhost/TerminalProgress.h"

#include "platform/WideString.h"

#include <algorithm>
#include <new>

namespace {

constexpr int kBarWidth = 30;

} // namespace

CTerminalProgress* CTerminalProgress::Create(FILE* out, const std::atomic<bool>* cancelRequested)
{
    return new (std::nothrow) CTerminalProgress(out, cancelRequested);
}

CTerminalProgress::CTerminalProgress(FILE* out, const std::atomic<bool>* cancelRequested)
    : m_out(out), m_cancelRequested(cancelRequested)
{
}

void CTerminalProgress::SetText(const char16_t* text)
{
    m_text = NarrowToUtf8(text != nullptr ? WStringView(text) : WStringView());
    m_shownPercent = -1;
    Draw(0);
}

bool CTerminalProgress::Step(int done, int total)
{
    if (m_cancelRequested != nullptr && m_cancelRequested->load()) return false;
    if (total > 0) {
        const long long scaled = 100LL * std::clamp(done, 0, total) / total;
        Draw(static_cast<int>(scaled));
    }
    return true;
}

void CTerminalProgress::Finish(bool success)
{
    if (m_out == nullptr) return;
    if (success) Draw(100);
    if (m_lineOpen) std::fputc('\n', m_out);
    m_lineOpen = false;
    std::fflush(m_out);
}

void CTerminalProgress::Draw(int percent)
{
    if (m_out == nullptr || percent == m_shownPercent) return;
    m_shownPercent = percent;
    const int filled = percent * kBarWidth / 100;
    std::fprintf(m_out, "\r%s [%s%s] %3d%%", m_text.c_str(), std::string(static_cast<size_t>(filled), '#').c_str(),
                 std::string(static_cast<size_t>(kBarWidth - filled), ' ').c_str(), percent);
    std::fflush(m_out);
    m_lineOpen = true;
}
