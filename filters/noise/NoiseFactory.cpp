#include "filters/noise/NoiseFactory.h"

#include "filters/noise/NoiseFilter.h"
#include "filters/noise/NoiseSettings.h"
#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0x90B2B731, 0xCF37, 0x48B9, {0xBA, 0x88, 0xEE, 0xBA, 0x8F, 0x80, 0x40, 0x8B}},
    IDS_NAME_NOISE, 0x270000, 501, 5057, HostKeeping::Counted, Listing::Listed, kNoiseSettings,
    {PreviewShape::Selection, false, u"removing noise: the region the noise levels are measured in"}};

} // namespace

CInteractiveNoiseFactory::CInteractiveNoiseFactory() : CFilterFactoryBase(kDescription) {}

bool CInteractiveNoiseFactory::NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status)
{
    return MakeFilter<CInteractiveNoiseFilter>(source, host, filter, status);
}
