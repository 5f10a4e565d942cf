#include "filters/hot-pixels/HotPixelFixFactory.h"

#include "filters/hot-pixels/HotPixelFixFilter.h"
#include "filters/hot-pixels/HotPixelFixSettings.h"
#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0x9FA651D2, 0x362D, 0x45F6, {0xB5, 0x52, 0x63, 0x2B, 0xCC, 0xC0, 0xF1, 0x70}},
    IDS_NAME_HOT_PIXEL, 0x70000, 900, 5083, HostKeeping::Counted, Listing::Listed, kHotPixelFixSettings};

} // namespace

CInteractiveHotPixelFixFactory::CInteractiveHotPixelFixFactory() : CFilterFactoryBase(kDescription) {}

bool CInteractiveHotPixelFixFactory::NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status)
{
    return MakeFilter<CInteractiveHotPixelFix>(source, host, filter, status);
}
