#include "filters/sharpen/SharpenUnsharpMaskPage.h"

#include "filters/sharpen/SharpenFilter.h"
#include "resources/StringIds.h"

#include <QSlider>

namespace {

constexpr SliderRange kAmountRange{0.0, 1.0};
constexpr SliderRange kThresholdRange{0.0, 100.0};

} // namespace

CSharpenUnsharpMaskPage::CSharpenUnsharpMaskPage(IInteractiveFilter* filter, IPreviewSite* site)
    : CSharpenPage(filter, site, IDS_SHARPEN_UNSHARP_MASK_PAGE, kUnsharpMaskPageName),
      m_size(AddSlider(IDS_DLG104_SIZE_LABEL, kSigmaRange, 2.5)),
      m_amount(AddSlider(IDS_DLG104_AMOUNT_LABEL, kAmountRange, 0.5)),
      m_threshold(AddSlider(IDS_DLG104_THRESHOLD_LABEL, kThresholdRange, 8.0))
{
    AddHint(IDS_DLG104_HINT);
}

void CSharpenUnsharpMaskPage::StorePageKeys(CParamList& params)
{
    params.SetDouble(kUnsharpMaskSizeKey, SliderValue(m_size->value(), kSigmaRange));
    params.SetDouble(kUnsharpMaskAmountKey, SliderValue(m_amount->value(), kAmountRange));
    params.SetInt(kUnsharpMaskThresholdKey, static_cast<int>(SliderValue(m_threshold->value(), kThresholdRange)));
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
    m_size->setValue(SliderPosition(size, kSigmaRange));
    m_amount->setValue(SliderPosition(amount, kAmountRange));
    m_threshold->setValue(SliderPosition(threshold, kThresholdRange));
}
