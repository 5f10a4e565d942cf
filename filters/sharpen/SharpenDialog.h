#pragma once
// The Sharpen settings: a tabbed sheet with the Unsharp Mask page first and the
// Gaussian Blur page second; "SharpenActivePage" names the page shown.

#include "Common/dialogs/FilterSheet.h"

class CSharpenGaussianBlurPage;
class CSharpenUnsharpMaskPage;

class CSharpenSheet final : public CFilterSheet {
public:
    static constexpr int kUnsharpMaskIndex = 0;
    static constexpr int kGaussianBlurIndex = 1;

    // The pages hold a reference on the filter and one on the site.
    CSharpenSheet(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site);

    CSharpenUnsharpMaskPage* UnsharpMaskPage() const { return m_unsharpMask; }
    CSharpenGaussianBlurPage* GaussianBlurPage() const { return m_gaussianBlur; }

private:
    CSharpenUnsharpMaskPage* m_unsharpMask;
    CSharpenGaussianBlurPage* m_gaussianBlur;
};
