#include "filters/sharpen/SharpenPassSteps.h"

#include "host/HostInterfaces.h"
#include "platform/Localization.h"

#include <utility>

CSharpenPassSteps::CSharpenPassSteps(IProgress* phases, std::vector<Pass> passes)
    : m_phases(phases), m_passes(std::move(passes))
{
    for (const Pass& pass : m_passes) m_allSteps += pass.steps;
    if (m_phases != nullptr && !m_passes.empty()) m_phases->SetText(LoadModuleString(m_passes[0].textId).c_str());
}

UnitReport CSharpenPassSteps::Report()
{
    if (m_phases == nullptr) return {};
    return [this](int done, int total) { return TellShare(done, total); };
}

bool CSharpenPassSteps::TellShare(int done, int total)
{
    const long long due = total > 0 ? m_allSteps * done / total : m_allSteps;
    while (m_told < due) {
        if (m_inPass == m_passes[m_pass].steps) {
            ++m_pass;
            m_inPass = 0;
            m_phases->SetText(LoadModuleString(m_passes[m_pass].textId).c_str());
        }
        ++m_inPass;
        ++m_told;
        if (!m_phases->Step(m_inPass, m_passes[m_pass].steps)) return false;
    }
    return true;
}
