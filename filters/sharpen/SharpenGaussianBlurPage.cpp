#include "filters/sharpen/SharpenGaussianBlurPage.h"

#include "filters/sharpen/SharpenFilter.h"
#include "resources/StringIds.h"

#include <QSlider>

namespace {

constexpr CSliderScale kSigmaScale = SharpenScale(kGaussianBlurSizeSetting);

} // namespace

CSharpenGaussianBlurPage::CSharpenGaussianBlurPage(IInteractiveFilter* filter, IPreviewSite* site)
    : CSharpenPage(filter, site, IDS_SHARPEN_GAUSSIAN_BLUR_PAGE, kGaussianBlurPageName),
      m_size(AddSlider(IDS_DLG5017_SIZE_LABEL, kGaussianBlurSizeSetting))
{
    AddHint(IDS_DLG5017_HINT);
}

void CSharpenGaussianBlurPage::StorePageKeys(CParamList& params)
{
    params.SetDouble(kGaussianBlurSizeKey, kSigmaScale.ValueAt(m_size->value()));
}

void CSharpenGaussianBlurPage::ReloadControls(const CParamList& params)
{
    double size = 0.0;
    if (params.GetDouble(kGaussianBlurSizeKey, size)) m_size->setValue(kSigmaScale.PositionOf(size));
}
