#include "filters/noise/NoiseFilter.h"

#include "Common/params/ParamList.h"
#include "filters/noise/NoiseAddKernel.h"
#include "filters/noise/NoiseDialog.h"
#include "filters/noise/NoiseRegion.h"
#include "filters/noise/NoiseRemovePage.h"
#include "filters/noise/NoiseSettings.h"
#include "filters/shared/noise/NoiseEngine.h"
#include "filters/shared/pixels/KernelBridge.h"
#include "platform/Localization.h"
#include "resources/StringIds.h"

#include <ctime>

namespace {

// The page decides which keys the apply needs, so the settings come first; each
// operation announces itself once its copy exists.
constexpr ApplyOptions kOptions{.order = {ApplyStep::Settings, ApplyStep::WorkingImage, ApplyStep::Announce}};

// The engine as Autofix runs it: blocks of 20 pixels valued by their luma, red,
// green and blue as they are, variances divided by the pixel count.
constexpr int kEstimatorBlockSize = 20;
constexpr int kRedGreenBlueChannels = 0;
constexpr int kLumaBlockValues = 1;
constexpr int kDivideByPixelCount = 1;

void Announce(IProgress* progress, unsigned textId)
{
    if (progress != nullptr) progress->SetText(LoadModuleString(textId).c_str());
}

// Rounds half up, toward zero below it: what the dialog's trackbars are given.
int LevelToStore(double level)
{
    return static_cast<int>(level + 0.5);
}

bool AllZero(const ChannelLevels& levels)
{
    return levels[0] == 0.0 && levels[1] == 0.0 && levels[2] == 0.0;
}

// Levels the user left at 0, or set below, ask for the picture's own.
bool AskForEstimates(const ChannelLevels& levels)
{
    return levels[0] <= 0.0 && levels[1] <= 0.0 && levels[2] <= 0.0;
}

} // namespace

CInteractiveNoiseFilter::CInteractiveNoiseFilter(IUnknown* source, IPluginHost* host)
    : CInteractiveFilterBase(source, host, IDS_PROGRESS_NOISE_REMOVE, kOptions)
{
}

void CInteractiveNoiseFilter::SelectionChanged()
{
    auto* sheet = static_cast<CNoiseSheet*>(Dialog());
    if (PreviewSite() == nullptr || sheet == nullptr || !sheet->ShowsRemoveNoise()) return;
    if (const std::optional<RECT> region = NormalisedSelection(PreviewSite()->GetSelection())) {
        sheet->RemoveNoisePage()->TakeRegion(*region);
    }
}

bool CInteractiveNoiseFilter::CreateDialogWindow(QWidget* parent, IStatus** status)
{
    if (parent == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    AdoptDialog(new CNoiseSheet(parent, this, PreviewSite()));
    return true;
}

// Removing noise takes a missing level as 0 and a missing size as 3; adding noise
// cannot do without its amount.
CApplyOutcome CInteractiveNoiseFilter::ReadSettings(IUnknown*)
{
    const CParamList params(Format().c_str());
    const char16_t* page = params.Get(kNoiseActivePageKey);
    if (page == nullptr) return CApplyOutcome::Failed(kStatusHostRefused);
    m_settings = {};
    if (WStringView(page) == kAddNoisePageName) {
        m_settings.addNoise = true;
        if (!params.GetDouble(kAddNoiseAmountKey, m_settings.amount)) return CApplyOutcome::Failed(kStatusHostRefused);
        return CApplyOutcome::Done();
    }
    if (WStringView(page) != kRemoveNoisePageName) return CApplyOutcome::Failed(kStatusHostRefused);
    for (size_t channel = 0; channel < 3; ++channel) {
        int level = kEstimatedLevel;
        params.GetInt(kNoiseLevelKeys[channel], level);
        m_settings.levels[channel] = level;
    }
    m_settings.smoothness = kStartFilterSize;
    params.GetInt(kNoiseFilterSizeKey, m_settings.smoothness);
    return CApplyOutcome::Done();
}

CApplyOutcome CInteractiveNoiseFilter::ChangePixels(IUnknown*, IImage* working, IProgress* progress)
{
    return m_settings.addNoise ? AddNoiseTo(working, progress) : RemoveNoiseFrom(working, progress);
}

// Seeded with the time in seconds: applies within one second add the same noise, so
// a preview and the accepted result made in quick succession look alike.
CApplyOutcome CInteractiveNoiseFilter::AddNoiseTo(IImage* working, IProgress* progress)
{
    Announce(progress, IDS_PROGRESS_NOISE_ADD);
    CProcessRandomDraws draws(static_cast<unsigned>(std::time(nullptr)));
    if (!AddNoise(RowsOfImage(working), m_settings.amount, draws, ReportTo(progress)))
        return CApplyOutcome::Failed(kStatusCancelled);
    return CApplyOutcome::Done();
}

CApplyOutcome CInteractiveNoiseFilter::RemoveNoiseFrom(IImage* working, IProgress* progress)
{
    ChannelLevels levels = m_settings.levels;
    const bool allZero = AllZero(levels);
    const std::optional<RECT> region = PreviewRegion();
    Announce(progress, IDS_PROGRESS_NOISE_REMOVE);
    bool reduced = false;
    if (region) {
        reduced = ReduceNoiseInRegion(working->GetBitmap(), progress, *region, &levels[0], &levels[1], &levels[2],
                                      m_settings.smoothness, kRedGreenBlueChannels, kDivideByPixelCount);
    } else {
        reduced = ReduceNoise(working->GetBitmap(), progress, AskForEstimates(levels), &levels[0], &levels[1],
                              &levels[2], m_settings.smoothness, kEstimatorBlockSize, kRedGreenBlueChannels,
                              kLumaBlockValues, kDivideByPixelCount);
    }
    if (!reduced) return CApplyOutcome::Failed(kStatusCancelled);
    // Levels the user set stay as set; a region measured over them only for this apply.
    if (!region || allZero) WriteBackLevels(levels);
    return CApplyOutcome::Done();
}

std::optional<RECT> CInteractiveNoiseFilter::PreviewRegion()
{
    if (PreviewSite() == nullptr) return std::nullopt;
    const std::optional<RECT> region = NormalisedSelection(PreviewSite()->GetSelection());
    if (!region || IsEmptyRegion(*region)) return std::nullopt;
    return region;
}

void CInteractiveNoiseFilter::WriteBackLevels(const ChannelLevels& levels)
{
    CParamList params(Format().c_str());
    for (size_t channel = 0; channel < levels.size(); ++channel) {
        params.SetInt(kNoiseLevelKeys[channel], LevelToStore(levels[channel]));
    }
    SetFormat(params.ToString().c_str());
}
