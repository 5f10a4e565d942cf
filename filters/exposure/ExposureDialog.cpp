#include "filters/exposure/ExposureDialog.h"

#include "Common/base/FilterFormat.h"
#include "filters/exposure/ExposureCurveText.h"
#include "filters/exposure/ExposureSettings.h"
#include "filters/exposure/GradCurveStatic.h"
#include "filters/exposure/HistogramDisplayStatic.h"
#include "filters/shared/histograms/ChannelHistograms.h"
#include "platform/ComPtr.h"
#include "platform/DialogText.h"
#include "resources/StringIds.h"

#include <QPushButton>
#include <QVBoxLayout>

#include <array>

namespace {

// False when the photo has no bitmap to count.
bool CountSource(IUnknown* source, std::array<uint32_t, kHistogramCountsSize>& counts)
{
    const auto image = CComPtr<IImage>::Query(source, IID_IImage);
    return image && ComputeChannelHistograms(image->GetBitmap(), counts.data());
}

} // namespace

CExposureHistogramCorrPage::CExposureHistogramCorrPage(IInteractiveFilter* filter, IPreviewSite* site,
                                                       const uint32_t* counts)
    : CFilterPage(filter, site, DialogText(IDS_EXPOSURE_HISTOGRAM_PAGE)),
      m_histogram(new CHistogramDisplayStatic(this)),
      m_autofix(new QPushButton(DialogText(IDS_DLG103_AUTOFIX_HISTOGRAM), this))
{
    // The layout keeps each control's left edge and stretches it to the page's width.
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_histogram, 1);
    layout->addWidget(m_autofix);
    m_histogram->SetHistograms(counts);
    m_histogram->SetChangeHandler([this] { PostStore(); });
    QObject::connect(m_autofix, &QPushButton::clicked, this, [this] { m_histogram->AutofixLimits(); });
}

void CExposureHistogramCorrPage::StoreControls(CParamList& params)
{
    const int left = m_histogram->LeftLimit();
    const int right = m_histogram->RightLimit();
    params.SetInt(kLeftLimitKey, left);
    params.SetInt(kRightLimitKey, right);
    params.SetDouble(kMValueKey, SlopeOfLimits(left, right));
    params.SetDouble(kBValueKey, OffsetOfLimits(left, right));
    params.Set(kExposureActiveKey, kHistCorrPageName);
}

// The limits move only when the text holds the whole line, so a half-written text
// cannot leave markers that disagree with the slope.
void CExposureHistogramCorrPage::ReloadControls(const CParamList& params)
{
    int left = 0;
    int right = 0;
    double slope = 0.0;
    double offset = 0.0;
    if (params.GetInt(kLeftLimitKey, left) && params.GetInt(kRightLimitKey, right) &&
        params.GetDouble(kMValueKey, slope) && params.GetDouble(kBValueKey, offset)) {
        m_histogram->SetLimits(left, right);
    }
}

CExposureGradationCurvesPage::CExposureGradationCurvesPage(IInteractiveFilter* filter, IPreviewSite* site,
                                                           const uint32_t* counts)
    : CFilterPage(filter, site, DialogText(IDS_EXPOSURE_CURVES_PAGE)),
      m_curve(new CGradCurveStatic(this)),
      m_reset(new QPushButton(DialogText(IDS_DLG5011_RESET), this))
{
    // The layout keeps each control's left edge and stretches it to the page's width.
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_curve, 1);
    layout->addWidget(m_reset);
    if (counts != nullptr) m_curve->SetBackground(counts + kLuminanceCounts * kHistogramLevels);
    m_curve->SetChangeHandler([this] { PostStore(); });
    QObject::connect(m_reset, &QPushButton::clicked, this, [this] { m_curve->Reset(); });
    std::vector<double> x;
    std::vector<double> y;
    const CParamList params(ReadFilterFormat(filter).c_str());
    if (!ReadCurvePoints(params, x, y) || !m_curve->LoadCurve(x, y)) m_curve->Reset();
}

// The page names itself active only while it shows: the reset a new sheet makes on
// its hidden curve page must not take the mode from the page the user sees.
void CExposureGradationCurvesPage::StoreControls(CParamList& params)
{
    if (!m_curve->Curve().IsValid()) return;
    WriteCurvePoints(m_curve->Curve(), params);
    if (IsActivePage()) params.Set(kExposureActiveKey, kGradCurvesPageName);
}

void CExposureGradationCurvesPage::ReloadControls(const CParamList& params)
{
    std::vector<double> x;
    std::vector<double> y;
    if (ReadCurvePoints(params, x, y)) m_curve->LoadCurve(x, y);
}

CExposureSheet::CExposureSheet(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site, IUnknown* source)
    : CFilterSheet(parent, filter, IDS_EXPOSURE_SHEET_CAPTION, kExposureActiveKey,
                   {kHistCorrPageName, kGradCurvesPageName})
{
    std::array<uint32_t, kHistogramCountsSize> counts{};
    const uint32_t* counted = CountSource(source, counts) ? counts.data() : nullptr;
    m_histogramPage = new CExposureHistogramCorrPage(filter, site, counted);
    m_curvesPage = new CExposureGradationCurvesPage(filter, site, counted);
    AddPage(m_histogramPage);
    AddPage(m_curvesPage);
}
