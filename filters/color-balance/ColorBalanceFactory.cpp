#include "filters/color-balance/ColorBalanceFactory.h"

#include "filters/color-balance/ColorBalanceFilter.h"
#include "filters/color-balance/ColorBalanceSettings.h"
#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0xD5609EE0, 0xDF5E, 0x4EF6, {0x92, 0x94, 0xAF, 0x59, 0x0F, 0x04, 0x9E, 0x0C}},
    IDS_NAME_COLOR_BALANCE, 0x30000, 200, 5030, HostKeeping::None, Listing::Listed, kColorBalanceSettings};

} // namespace

CColorBalanceFactory::CColorBalanceFactory() : CFilterFactoryBase(kDescription) {}

bool CColorBalanceFactory::NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status)
{
    return MakeFilter<CColorBalanceFilter>(source, host, filter, status);
}
