#include "filters/frames/FramesFactory.h"

#include "filters/frames/FrameFilter.h"
#include "filters/frames/FramesSettings.h"
#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0x5A75AE63, 0x401C, 0x4197, {0xAF, 0x8B, 0x37, 0x8F, 0x7C, 0xF4, 0xE6, 0xA9}},
    IDS_NAME_FRAMES, 0xB0000, 250, 16, HostKeeping::Counted, Listing::Unlisted, kFramesSettings};

} // namespace

CInteractiveFrameFilterFactory::CInteractiveFrameFilterFactory() : CFilterFactoryBase(kDescription) {}

bool CInteractiveFrameFilterFactory::NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter,
                                               IStatus** status)
{
    return MakeFilter<CInteractiveFrameFilter>(source, host, filter, status);
}
