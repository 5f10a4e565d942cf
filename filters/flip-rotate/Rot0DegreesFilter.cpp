#include "filters/flip-rotate/Rot0DegreesFilter.h"

#include "resources/StringIds.h"

namespace {

// The copy is made after the announcement, so a refused copy also closes the
// progress display as failed.
constexpr ApplyOptions kOptions{.order = {ApplyStep::Announce, ApplyStep::WorkingImage, ApplyStep::Settings},
                                .finishOnRefusal = true};

} // namespace

CRot0DegreesFilter::CRot0DegreesFilter(IUnknown* source, IPluginHost* host)
    : CPlainFilter(source, host, IDS_PROGRESS_ROTATING, kOptions)
{
}

// The input argument is ignored: this filter always copies the factory's source.
CApplyOutcome CRot0DegreesFilter::CheckInput(IUnknown*)
{
    if (!CComPtr<ICloneable>::Query(Source(), IID_ICloneable)) return CApplyOutcome::Failed(kStatusHostRefused);
    return CApplyOutcome::Done();
}

CApplyOutcome CRot0DegreesFilter::MakeWorkingImage(IUnknown*, CComPtr<IImage>& working)
{
    return CloneInput(Source(), false, working);
}
