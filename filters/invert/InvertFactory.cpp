#include "filters/invert/InvertFactory.h"

#include "filters/invert/InvertFilter.h"
#include "filters/invert/InvertSettings.h"
#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0xD5C7E20D, 0x2C17, 0x46A6, {0x93, 0xCE, 0x56, 0x42, 0xAC, 0x90, 0xB6, 0x80}},
    IDS_NAME_INVERT, 0x10000, 500, 5019, HostKeeping::None, Listing::Listed, kInvertSettings};

} // namespace

CInvertFactory::CInvertFactory() : CFilterFactoryBase(kDescription) {}

bool CInvertFactory::NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status)
{
    return MakeFilter<CInvertFilter>(source, host, filter, status);
}
