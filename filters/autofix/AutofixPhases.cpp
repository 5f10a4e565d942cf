#include "filters/autofix/AutofixPhases.h"

#include "Common/progress/IndependantMultiphaseProgress.h"
#include "platform/Localization.h"

namespace {

constexpr int kPassesOfAFix = 2;

} // namespace

// Later texts pass through: the second pass names what it applies.
bool OpenTwoPasses(IProgress* sink, unsigned textId, CComPtr<IProgress>& passes)
{
    if (sink == nullptr) return true;
    if (!CIndependantMultiphaseProgress::Create(passes.Receive(), sink, kPassesOfAFix, true)) return false;
    ShowFixText(passes.Get(), textId);
    return true;
}

void ShowFixText(IProgress* progress, unsigned textId)
{
    if (progress != nullptr) progress->SetText(LoadModuleString(textId).c_str());
}

bool EndFix(IProgress* sink, bool succeeded)
{
    if (sink != nullptr) sink->Finish(succeeded);
    return succeeded;
}
