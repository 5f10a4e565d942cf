#include "filters/invert/InvertFilter.h"

#include "Common/params/ParamList.h"
#include "filters/invert/InvertDialog.h"
#include "filters/invert/InvertSettings.h"
#include "platform/ComPtr.h"
#include "resources/StringIds.h"

namespace {

// The settings are read on the copy's side, before the announcement. The work
// cannot be stopped, so only success ever reaches the sink's Finish.
constexpr ApplyOptions kOptions{.order = {ApplyStep::WorkingImage, ApplyStep::Settings, ApplyStep::Announce}};

// A missing key keeps its channel, as does 0; any other number inverts it.
bool Switch(const CParamList& params, const char16_t* key)
{
    int value = 0;
    params.GetInt(key, value);
    return value != 0;
}

} // namespace

// The filter works without the host object its factory offers.
CInvertFilter::CInvertFilter(IUnknown* source, IPluginHost*)
    : CInteractiveFilterBase(source, nullptr, IDS_PROGRESS_INVERT, kOptions)
{
}

CApplyOutcome CInvertFilter::ReadSettings(IUnknown*)
{
    const CParamList params(Format().c_str());
    m_channels = {Switch(params, kInvertRedKey), Switch(params, kInvertGreenKey), Switch(params, kInvertBlueKey)};
    return CApplyOutcome::Done();
}

// The buffer is taken as one run of pixels, as long as the bitmap says its buffer
// is, whatever its rows: a row given to the kernel as wide as the whole run.
CApplyOutcome CInvertFilter::ChangePixels(IUnknown*, IImage* working, IProgress*)
{
    const auto bitmap = CComPtr<IBitmap>::Query(working, IID_IBitmap);
    const int pixels = bitmap->GetBufferSize() / 4;
    InvertChannels(PixelRows{bitmap->GetPixels(), static_cast<ptrdiff_t>(pixels) * 4, pixels, 1}, m_channels);
    return CApplyOutcome::Done();
}

bool CInvertFilter::CreateDialogWindow(QWidget* parent, IStatus** status)
{
    if (parent == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    AdoptDialog(new CInteractiveInvertDlg(parent, this, PreviewSite()));
    return true;
}
