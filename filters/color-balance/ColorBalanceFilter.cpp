#include "filters/color-balance/ColorBalanceFilter.h"

#include "Common/dialogs/FlexPropertySheet.h"
#include "Common/params/ParamList.h"
#include "filters/color-balance/ColorBalanceDialog.h"
#include "filters/color-balance/ColorBalanceRgbPage.h"
#include "filters/color-balance/ColorBalanceSettings.h"
#include "filters/shared/channel-tables/ChannelTables.h"
#include "filters/shared/channel-tables/GainTable.h"
#include "filters/shared/pixels/KernelBridge.h"
#include "platform/ComPtr.h"

#include <cstdint>
#include <optional>

namespace {

// The clone comes first; the text is announced after the settings are read and before
// the RGB mode finds a gain missing, which is refused without closing the sink.
constexpr ApplyOptions kOptions{.order = {ApplyStep::WorkingImage, ApplyStep::Settings, ApplyStep::Announce},
                                .finishOnStop = true,
                                .finishOnRefusal = false,
                                .finishOnSuccess = true};

// The one progress text of both modes, never translated.
constexpr const char16_t* kProgressText = u"HSL";

// A picked colour darker than this in any channel is too noisy to judge.
constexpr uint32_t kDarkestPicked = 5;
constexpr double kSmallestPickedGain = 0.5;
constexpr double kLargestPickedGain = 1.5;

// The leading decimal number of text, as a 32-bit value; none for a text without one.
std::optional<uint32_t> DecimalValue(const char16_t* text)
{
    if (text == nullptr) return std::nullopt;
    while (*text == u' ') ++text;
    uint64_t value = 0;
    const char16_t* digit = text;
    for (; *digit >= u'0' && *digit <= u'9'; ++digit) {
        value = value * 10 + static_cast<uint64_t>(*digit - u'0');
        if (value > UINT32_MAX) return std::nullopt;
    }
    if (digit == text) return std::nullopt;
    return static_cast<uint32_t>(value);
}

// The gains that turn the colour (0x00BBGGRR) grey by green; none for a colour too
// dark in a channel or one that would need a gain outside half to one and a half.
std::optional<ColorCastFactors> NeutralGainsOf(uint32_t colour)
{
    const uint32_t red = colour & 0xFFu;
    const uint32_t green = colour >> 8 & 0xFFu;
    const uint32_t blue = colour >> 16 & 0xFFu;
    if (red < kDarkestPicked || green < kDarkestPicked || blue < kDarkestPicked) return std::nullopt;
    const double redGain = static_cast<double>(green) / red;
    const double blueGain = static_cast<double>(green) / blue;
    const auto acceptable = [](double gain) { return gain >= kSmallestPickedGain && gain <= kLargestPickedGain; };
    if (!acceptable(redGain) || !acceptable(blueGain)) return std::nullopt;
    return ColorCastFactors{redGain, 1.0, blueGain};
}

} // namespace

// The filter works without the host object its factory offers.
CColorBalanceFilter::CColorBalanceFilter(IUnknown* source, IPluginHost*)
    : CInteractiveFilterBase(source, nullptr, 0, kOptions)
{
}

// Only the exact "HSL" selects the HSL mode. Its keys are optional: each missing one
// keeps 1.0. The RGB mode needs all three gains, which the work checks after the
// announcement.
CApplyOutcome CColorBalanceFilter::ReadSettings(IUnknown*)
{
    const CParamList params(Format().c_str());
    const char16_t* active = params.Get(kColorBalanceActiveKey);
    m_settings = {};
    m_settings.hsl = active != nullptr && WStringView(active) == kHslPageName;
    if (m_settings.hsl) {
        params.GetDouble(kHueKey, m_settings.adjustment.hue);
        params.GetDouble(kSaturationKey, m_settings.adjustment.saturation);
        params.GetDouble(kLightnessKey, m_settings.adjustment.lightness);
        return CApplyOutcome::Done();
    }
    m_settings.gainsGiven = params.GetInt(kRedGainKey, m_settings.red) &&
                            params.GetInt(kGreenGainKey, m_settings.green) &&
                            params.GetInt(kBlueGainKey, m_settings.blue);
    return CApplyOutcome::Done();
}

CApplyOutcome CColorBalanceFilter::ChangePixels(IUnknown*, IImage* working, IProgress* progress)
{
    if (progress != nullptr) progress->SetText(kProgressText);
    if (!m_settings.hsl) return ApplyGains(working);
    // The rows are as wide as the image says, and as far apart as its buffer's stride.
    const auto bitmap = CComPtr<IBitmap>::Query(working, IID_IBitmap);
    PixelRows rows{bitmap->GetPixels(), bitmap->GetStride(), 0, 0};
    working->GetSize(&rows.width, &rows.height);
    if (!AdjustHslRows(rows, m_settings.adjustment, ReportTo(progress))) return CApplyOutcome::Failed(kStatusCancelled);
    return CApplyOutcome::Done();
}

// The tables map the copy without a sink: the gains cannot be stopped, and how the
// mapping ends does not change the apply's outcome.
CApplyOutcome CColorBalanceFilter::ApplyGains(IImage* working) const
{
    if (!m_settings.gainsGiven) return CApplyOutcome::Failed(kStatusHostRefused);
    const GainTables tables =
        BuildGainTables(m_settings.red / 100.0, m_settings.green / 100.0, m_settings.blue / 100.0);
    ApplyChannelTables(working->GetBitmap(), tables.red, tables.green, tables.blue, nullptr);
    return CApplyOutcome::Done();
}

bool CColorBalanceFilter::CreateDialogWindow(QWidget* parent, IStatus** status)
{
    if (parent == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    m_sheet = new CColorBalanceSheet(parent, this, PreviewSite(), Source());
    AdoptDialog(m_sheet);
    return true;
}

void CColorBalanceFilter::SelectionChanged()
{
    if (m_sheet.isNull() || PreviewSite() == nullptr) return;
    if (m_sheet->Sheet()->ActivePage() != CColorBalanceSheet::kRgbIndex) return;
    const std::optional<uint32_t> picked = DecimalValue(PreviewSite()->GetSelection());
    if (!picked) return;
    if (const std::optional<ColorCastFactors> gains = NeutralGainsOf(*picked)) m_sheet->RgbPage()->ShowGains(*gains);
}
