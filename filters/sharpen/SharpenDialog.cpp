#include "filters/sharpen/SharpenDialog.h"

#include "filters/sharpen/SharpenGaussianBlurPage.h"
#include "filters/sharpen/SharpenUnsharpMaskPage.h"
#include "resources/StringIds.h"

CSharpenSheet::CSharpenSheet(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site)
    : CFilterSheet(parent, filter, IDS_SHARPEN_SHEET_CAPTION, kSharpenActivePageKey,
                   {kUnsharpMaskPageName, kGaussianBlurPageName}),
      m_unsharpMask(new CSharpenUnsharpMaskPage(filter, site)),
      m_gaussianBlur(new CSharpenGaussianBlurPage(filter, site))
{
    AddPage(m_unsharpMask);
    AddPage(m_gaussianBlur);
}
