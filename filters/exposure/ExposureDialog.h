#pragma once
// The Exposure settings: a tabbed sheet with the histogram-correction page first and
// the gradation-curves page second, both drawn over the luminance histogram of the
// photo the filter was made for; "Active" names the page shown.

#include "Common/dialogs/FilterPage.h"
#include "Common/dialogs/FilterSheet.h"

#include <cstdint>

class CGradCurveStatic;
class CHistogramDisplayStatic;
class QPushButton;

class CExposureHistogramCorrPage final : public CFilterPage {
public:
    // counts: the photo's histograms, or null when they could not be counted.
    CExposureHistogramCorrPage(IInteractiveFilter* filter, IPreviewSite* site, const uint32_t* counts);

    CHistogramDisplayStatic* Histogram() const { return m_histogram; }
    QPushButton* AutofixButton() const { return m_autofix; }

protected:
    void StoreControls(CParamList& params) override;
    void ReloadControls(const CParamList& params) override;

private:
    CHistogramDisplayStatic* m_histogram;
    QPushButton* m_autofix;
};

class CExposureGradationCurvesPage final : public CFilterPage {
public:
    CExposureGradationCurvesPage(IInteractiveFilter* filter, IPreviewSite* site, const uint32_t* counts);

    CGradCurveStatic* Curve() const { return m_curve; }
    QPushButton* ResetButton() const { return m_reset; }

protected:
    void StoreControls(CParamList& params) override;
    void ReloadControls(const CParamList& params) override;

private:
    CGradCurveStatic* m_curve;
    QPushButton* m_reset;
};

class CExposureSheet final : public CFilterSheet {
public:
    static constexpr int kHistogramCorrIndex = 0;
    static constexpr int kGradationCurvesIndex = 1;

    // The pages hold a reference on the filter and one on the site. source: the photo
    // whose histogram the pages show (may be null).
    CExposureSheet(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site, IUnknown* source);

    CExposureHistogramCorrPage* HistogramPage() const { return m_histogramPage; }
    CExposureGradationCurvesPage* CurvesPage() const { return m_curvesPage; }

private:
    CExposureHistogramCorrPage* m_histogramPage = nullptr;
    CExposureGradationCurvesPage* m_curvesPage = nullptr;
};
