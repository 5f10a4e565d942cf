#include "filters/brightness-contrast/BrightnessContrastFilter.h"

#include "Common/base/ImageCloning.h"
#include "Common/params/ParamList.h"
#include "Common/status/Status.h"
#include "filters/brightness-contrast/BrightnessContrastKernel.h"
#include "filters/shared/channel-tables/ChannelTables.h"
#include "filters/brightness-contrast/BrightnessContrastDialog.h"
#include "resources/StringIds.h"

#include <new>

namespace {

// Both keys must be there: a text without them did not come from this filter's dialog.
bool ReadSettings(const WString& format, double& brightness, double& contrast)
{
    const CParamList params(format.c_str());
    brightness = kDefaultBrightness;
    contrast = kDefaultContrast;
    return params.GetDouble(kBrightnessKey, brightness) && params.GetDouble(kContrastKey, contrast);
}

} // namespace

// The filter works without the host object its factory offers.
CInteractiveBrightnessContrastFilter::CInteractiveBrightnessContrastFilter(IUnknown* source, IPluginHost*)
    : m_inputs(source, nullptr, IDS_PROGRESS_BRIGHTNESS_CONTRAST)
{
}

bool CInteractiveBrightnessContrastFilter::Apply(IUnknown* input, IImage** result, IProgress* progress,
                                                 IStatus** status)
{
    const char16_t* text = m_inputs.ProgressText();
    if (result == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    CComPtr<IImage> image = CloneAsImage(m_inputs.InputOr(input));
    auto bitmap = CComPtr<IBitmap>::Query(image.Get(), IID_IBitmap);
    if (!bitmap || bitmap->GetPixels() == nullptr) return ReportStatus(status, kStatusHostRefused);
    double brightness = 0.0;
    double contrast = 0.0;
    if (!ReadSettings(Format(), brightness, contrast)) return ReportStatus(status, kStatusHostRefused);

    uint8_t table[256];
    BuildBrightnessContrastTable(brightness, contrast, table);
    if (progress != nullptr) progress->SetText(text);
    if (!ApplyChannelTables(image->GetBitmap(), table, table, table, progress)) {
        return ReportStatus(status, kStatusCancelled);
    }
    *result = image.Detach();
    return true;
}

bool CInteractiveBrightnessContrastFilter::CreateDialogWindow(QWidget* parent, IStatus** status)
{
    if (parent == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    AdoptDialog(new CDlgInteractiveBrightnessContrast(parent, this, PreviewSite()));
    return true;
}
