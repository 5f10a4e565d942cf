#include "filters/vignetting/VignettingFactory.h"

#include "filters/vignetting/VignettingFilter.h"
#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0x4376CCF1, 0xA9A4, 0x4DBB, {0xAF, 0x54, 0xAD, 0x7B, 0xD0, 0xC9, 0x3E, 0xED}},
    IDS_NAME_VIGNETTING, 0x0, 500, 2, HostKeeping::Counted};

} // namespace

CVignettingFactory::CVignettingFactory() : CFilterFactoryBase(kDescription) {}

bool CVignettingFactory::NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status)
{
    return MakeFilter<CVignettingFilter>(source, host, filter, status);
}
