#include "filters/median/MedianFactory.h"

#include "filters/median/MedianFilter.h"
#include "filters/median/MedianSettings.h"
#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0xC444A15A, 0x0090, 0x4F2A, {0xAF, 0x09, 0x54, 0xD3, 0x28, 0xAF, 0xDA, 0xE8}},
    IDS_NAME_MEDIAN, 0x50000, 350, 12, HostKeeping::Counted, Listing::Listed, kMedianSettings};

} // namespace

CInteractiveMedianFactory::CInteractiveMedianFactory() : CFilterFactoryBase(kDescription) {}

bool CInteractiveMedianFactory::NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status)
{
    return MakeFilter<CInteractiveMedianFilter>(source, host, filter, status);
}
