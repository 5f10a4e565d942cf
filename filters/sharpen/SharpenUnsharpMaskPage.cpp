#include "filters/sharpen/SharpenUnsharpMaskPage.h"

#include "filters/sharpen/SharpenFilter.h"
#include "resources/StringIds.h"

#include <QSlider>

namespace {

constexpr CSliderScale kSigmaScale = SharpenScale(kUnsharpMaskSizeSetting);
constexpr CSliderScale kAmountScale = SharpenScale(kUnsharpMaskAmountSetting);
constexpr CSliderScale kThresholdScale = SharpenScale(kUnsharpMaskThresholdSetting);

} // namespace

CSharpenUnsharpMaskPage::CSharpenUnsharpMaskPage(IInteractiveFilter* filter, IPreviewSite* site)
    : CSharpenPage(filter, site, IDS_SHARPEN_UNSHARP_MASK_PAGE, kUnsharpMaskPageName),
      m_size(AddSlider(IDS_DLG104_SIZE_LABEL, kUnsharpMaskSizeSetting)),
      m_amount(AddSlider(IDS_DLG104_AMOUNT_LABEL, kUnsharpMaskAmountSetting)),
      m_threshold(AddSlider(IDS_DLG104_THRESHOLD_LABEL, kUnsharpMaskThresholdSetting))
{
    AddHint(IDS_DLG104_HINT);
}

void CSharpenUnsharpMaskPage::StorePageKeys(CParamList& params)
{
    params.SetDouble(kUnsharpMaskSizeKey, kSigmaScale.ValueAt(m_size->value()));
    params.SetDouble(kUnsharpMaskAmountKey, kAmountScale.ValueAt(m_amount->value()));
    // Truncated: the position p stores the integer part of p exactly (100 * p / 100).
    params.SetInt(kUnsharpMaskThresholdKey, static_cast<int>(kThresholdScale.ValueAt(m_threshold->value())));
}

// The three settings belong together: a text lacking any of them moves none.
void CSharpenUnsharpMaskPage::ReloadControls(const CParamList& params)
{
    double size = 0.0;
    double amount = 0.0;
    double threshold = 0.0;
    if (!params.GetDouble(kUnsharpMaskSizeKey, size) || !params.GetDouble(kUnsharpMaskAmountKey, amount) ||
        !params.GetDouble(kUnsharpMaskThresholdKey, threshold)) {
        return;
    }
    m_size->setValue(kSigmaScale.PositionOf(size));
    m_amount->setValue(kAmountScale.PositionOf(amount));
    m_threshold->setValue(kThresholdScale.PositionOf(threshold));
}
