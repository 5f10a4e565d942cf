#include "filters/shared/straightening/StageProgress.h"

#include <utility>

StageProgress::StageProgress(UnitReport report, int total) : m_report(std::move(report)), m_total(total) {}

bool StageProgress::Next(int units)
{
    const bool goOn = !m_report || m_report(m_done, m_total);
    m_done += units;
    return goOn;
}
