#include "filters/exposure/ExposureFilter.h"

#include "Common/params/ParamList.h"
#include "filters/exposure/ExposureCurveText.h"
#include "filters/exposure/ExposureDialog.h"
#include "filters/exposure/ExposureKernel.h"
#include "filters/exposure/ExposureSettings.h"
#include "resources/StringIds.h"

namespace {

// The copy is made first and the text announced before the keys are read, so a
// histogram text without its keys is refused after the announcement, without
// closing the sink; the shared mapping routine tells the sink how the work ended.
constexpr ApplyOptions kOptions{.order = {ApplyStep::WorkingImage, ApplyStep::Announce, ApplyStep::Settings},
                                .finishOnStop = false,
                                .finishOnRefusal = false,
                                .finishOnSuccess = false};

bool IsCurvesMode(const CParamList& params)
{
    const char16_t* active = params.Get(kExposureActiveKey);
    return active != nullptr && WStringView(active) == kGradCurvesPageName;
}

} // namespace

// The filter works without the host object its factory offers.
CExposureFilter::CExposureFilter(IUnknown* source, IPluginHost*)
    : CChannelTableFilter(source, nullptr, IDS_PROGRESS_GRADATION, kOptions)
{
}

// The curve comes from the text whether or not the dialog is open: a text that holds
// no curve maps every level to 0, as an evaluation that fails does. The limits must
// be there although only the line's slope and offset shape the table.
CApplyOutcome CExposureFilter::ReadSettings(IUnknown*)
{
    const CParamList params(Format().c_str());
    if (IsCurvesMode(params)) {
        std::vector<double> x;
        std::vector<double> y;
        CNaturalSpline curve;
        if (ReadCurvePoints(params, x, y)) curve.Build(x, y);
        BuildCurveTable(curve, Table());
        return CApplyOutcome::Done();
    }
    int left = 0;
    int right = 0;
    double slope = 0.0;
    double offset = 0.0;
    if (!params.GetInt(kLeftLimitKey, left) || !params.GetInt(kRightLimitKey, right) ||
        !params.GetDouble(kMValueKey, slope) || !params.GetDouble(kBValueKey, offset)) {
        return CApplyOutcome::Failed(kStatusHostRefused);
    }
    BuildLineTable(slope, offset, Table());
    return CApplyOutcome::Done();
}

bool CExposureFilter::CreateDialogWindow(QWidget* parent, IStatus** status)
{
    if (parent == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    AdoptDialog(new CExposureSheet(parent, this, PreviewSite(), Source()));
    return true;
}
