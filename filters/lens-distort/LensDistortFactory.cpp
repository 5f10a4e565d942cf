#include "filters/lens-distort/LensDistortFactory.h"

#include "filters/lens-distort/LensDistortFilter.h"
#include "filters/lens-distort/LensDistortSettings.h"
#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0xACF1912D, 0x71EE, 0x4A7E, {0x9A, 0x72, 0xD9, 0x8D, 0x4B, 0x85, 0xEC, 0x00}},
    IDS_NAME_LENS_DISTORT, 0x30000, 400, 5031, HostKeeping::Counted, Listing::Listed, kLensDistortSettings};

} // namespace

CLensDistortFactory::CLensDistortFactory() : CFilterFactoryBase(kDescription) {}

bool CLensDistortFactory::NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status)
{
    return MakeFilter<CLensDistortFilter>(source, host, filter, status);
}
