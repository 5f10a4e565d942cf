#include "filters/brightness-contrast/BrightnessContrastFilter.h"

#include "Common/params/ParamList.h"
#include "filters/brightness-contrast/BrightnessContrastDialog.h"
#include "filters/brightness-contrast/BrightnessContrastKernel.h"
#include "resources/StringIds.h"

namespace {

// The settings are read from the copy's side, before the announcement; the shared
// mapping routine tells the progress sink how the work ended, either way.
constexpr ApplyOptions kOptions{.order = {ApplyStep::WorkingImage, ApplyStep::Settings, ApplyStep::Announce},
                                .finishOnStop = false,
                                .finishOnSuccess = false};

} // namespace

// The filter works without the host object its factory offers.
CInteractiveBrightnessContrastFilter::CInteractiveBrightnessContrastFilter(IUnknown* source, IPluginHost*)
    : CChannelTableFilter(source, nullptr, IDS_PROGRESS_BRIGHTNESS_CONTRAST, kOptions)
{
}

// Both keys must be there: a text without them did not come from this filter's dialog.
CApplyOutcome CInteractiveBrightnessContrastFilter::ReadSettings(IUnknown*)
{
    const CParamList params(Format().c_str());
    double brightness = kBrightnessSetting.start;
    double contrast = kContrastSetting.start;
    if (!params.GetDouble(kBrightnessKey, brightness) || !params.GetDouble(kContrastKey, contrast))
        return CApplyOutcome::Failed(kStatusHostRefused);
    BuildBrightnessContrastTable(brightness, contrast, Table());
    return CApplyOutcome::Done();
}

bool CInteractiveBrightnessContrastFilter::CreateDialogWindow(QWidget* parent, IStatus** status)
{
    if (parent == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    AdoptDialog(new CDlgInteractiveBrightnessContrast(parent, this, PreviewSite()));
    return true;
}
