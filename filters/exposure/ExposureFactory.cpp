#include "filters/exposure/ExposureFactory.h"

#include "filters/exposure/ExposureFilter.h"
#include "filters/exposure/ExposureSettings.h"
#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0x37F54C6C, 0x84C1, 0x453F, {0xBA, 0x55, 0x4C, 0x16, 0x49, 0xFF, 0x85, 0x9C}},
    IDS_NAME_EXPOSURE, 0x30000, 100, 5059, HostKeeping::None, Listing::Listed, kExposureSettings};

} // namespace

CExposureFactory::CExposureFactory() : CFilterFactoryBase(kDescription) {}

bool CExposureFactory::NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status)
{
    return MakeFilter<CExposureFilter>(source, host, filter, status);
}
