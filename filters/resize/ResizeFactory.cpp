#include "filters/resize/ResizeFactory.h"

#include "filters/resize/ResizeFilter.h"
#include "filters/resize/ResizeSettings.h"
#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0x2AF2E688, 0x63D6, 0x4294, {0xBD, 0x2F, 0x0A, 0x63, 0x03, 0x93, 0xD1, 0x28}},
    IDS_NAME_RESIZE, 0x130000, 250, 8, HostKeeping::Counted, Listing::Listed, kResizeSettings};

} // namespace

CInteractiveResizeFactory::CInteractiveResizeFactory() : CFilterFactoryBase(kDescription) {}

bool CInteractiveResizeFactory::NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status)
{
    return MakeFilter<CInteractiveResize>(source, host, filter, status);
}
