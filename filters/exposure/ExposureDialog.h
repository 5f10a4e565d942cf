#pragma once
// The Exposure settings: a tabbed sheet with the histogram-correction page first and
// the gradation-curves page second, both drawn over the luminance histogram of the
// photo the filter was made for. The filter's reload message comes here: the sheet
// shows the page "Active" names, then has both pages reload their controls.

#include "Common/base/InteractiveInterfaces.h"
#include "Common/dialogs/FilterPage.h"

#include <QWidget>

#include <cstdint>

class CFlexPropertySheet;
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
    bool IsActivePage() const;

    CGradCurveStatic* m_curve;
    QPushButton* m_reset;
};

class CExposureSheet final : public QWidget {
public:
    static constexpr int kHistogramCorrIndex = 0;
    static constexpr int kGradationCurvesIndex = 1;

    // Holds a reference on the filter; the pages hold theirs and one on the site.
    // source: the photo whose histogram the pages show (may be null).
    CExposureSheet(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site, IUnknown* source);
    ~CExposureSheet() override;
    CExposureSheet(const CExposureSheet&) = delete;
    CExposureSheet& operator=(const CExposureSheet&) = delete;

    CFlexPropertySheet* Sheet() const { return m_sheet; }
    CExposureHistogramCorrPage* HistogramPage() const { return m_histogramPage; }
    CExposureGradationCurvesPage* CurvesPage() const { return m_curvesPage; }

protected:
    bool event(QEvent* event) override;

private:
    void OnReload();

    IInteractiveFilter* m_filter;
    CFlexPropertySheet* m_sheet;
    CExposureHistogramCorrPage* m_histogramPage;
    CExposureGradationCurvesPage* m_curvesPage;
};
