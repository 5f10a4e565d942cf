#include "filters/sharpen/SharpenFactory.h"

#include "filters/sharpen/SharpenFilter.h"
#include "filters/sharpen/SharpenSettings.h"
#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0xC95C669D, 0x0851, 0x4C5E, {0xA9, 0xC1, 0xAD, 0x08, 0xC7, 0xBA, 0x1E, 0xE1}},
    IDS_NAME_SHARPEN, 0x70000, 600, 5032, HostKeeping::Counted, Listing::Listed, kSharpenSettings};

} // namespace

CInteractiveSharpnessFactory::CInteractiveSharpnessFactory() : CFilterFactoryBase(kDescription) {}

bool CInteractiveSharpnessFactory::NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter,
                                             IStatus** status)
{
    return MakeFilter<CInteractiveSharpnessFilter>(source, host, filter, status);
}
