#pragma once
// The Sharpen settings: a tabbed sheet with the Unsharp Mask page first and the
// Gaussian Blur page second. The filter's reload message comes here: the sheet shows
// the page the parameter text names, then has both pages reload their controls.

#include "Common/base/InteractiveInterfaces.h"

#include <QWidget>

class CFlexPropertySheet;
class CSharpenGaussianBlurPage;
class CSharpenUnsharpMaskPage;

class CSharpenSheet final : public QWidget {
public:
    static constexpr int kUnsharpMaskIndex = 0;
    static constexpr int kGaussianBlurIndex = 1;

    // Holds a reference on the filter; the pages hold theirs and one on the site.
    CSharpenSheet(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site);
    ~CSharpenSheet() override;
    CSharpenSheet(const CSharpenSheet&) = delete;
    CSharpenSheet& operator=(const CSharpenSheet&) = delete;

    CFlexPropertySheet* Sheet() const { return m_sheet; }
    CSharpenUnsharpMaskPage* UnsharpMaskPage() const { return m_unsharpMask; }
    CSharpenGaussianBlurPage* GaussianBlurPage() const { return m_gaussianBlur; }

protected:
    bool event(QEvent* event) override;

private:
    void OnReload();

    IInteractiveFilter* m_filter;
    CFlexPropertySheet* m_sheet;
    CSharpenUnsharpMaskPage* m_unsharpMask;
    CSharpenGaussianBlurPage* m_gaussianBlur;
};
