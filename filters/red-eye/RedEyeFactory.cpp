#include "filters/red-eye/RedEyeFactory.h"

#include "filters/red-eye/RedEyeFilter.h"
#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0x3BDC00C1, 0x6399, 0x4927, {0x88, 0x72, 0xDF, 0x74, 0x62, 0x3C, 0x19, 0x60}},
    IDS_NAME_RED_EYE, 0x130000, 700, 5072, HostKeeping::Counted, Listing::Unlisted, {},
    {PreviewShape::Selection, true, u"the rectangle around the red eyes"}};

} // namespace

CInteractiveRedEyeFactory::CInteractiveRedEyeFactory() : CFilterFactoryBase(kDescription) {}

bool CInteractiveRedEyeFactory::NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status)
{
    return MakeFilter<CInteractiveRedEye>(source, host, filter, status);
}
