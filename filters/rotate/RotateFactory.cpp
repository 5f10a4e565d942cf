#include "filters/rotate/RotateFactory.h"

#include "filters/rotate/RotateFilter.h"
#include "filters/rotate/RotateSettings.h"
#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0x29EF5003, 0x5611, 0x493D, {0x85, 0x87, 0xCB, 0x51, 0xA9, 0xE6, 0xBE, 0x02}},
    IDS_NAME_ROTATE, 0x30000, 800, 5054, HostKeeping::Counted, Listing::Listed, kRotateSettings,
    kRotatePreviewShape};

} // namespace

CInteractiveRotateFactory::CInteractiveRotateFactory() : CFilterFactoryBase(kDescription) {}

bool CInteractiveRotateFactory::NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status)
{
    return MakeFilter<CInteractiveRotate>(source, host, filter, status);
}
