#include "filters/crop/CropFactory.h"

#include "filters/crop/CropFilter.h"
#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0xAA7E9423, 0xC808, 0x4CD1, {0xB4, 0xAB, 0xD3, 0x02, 0xD1, 0x8C, 0xE1, 0xCE}},
    IDS_NAME_CROP, 0x130000, 300, 5055, HostKeeping::Counted, Listing::Listed, {},
    {PreviewShape::Selection, true, u"the rectangle to keep"}};

} // namespace

CInteractiveCropFactory::CInteractiveCropFactory() : CFilterFactoryBase(kDescription) {}

bool CInteractiveCropFactory::NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status)
{
    return MakeFilter<CInteractiveCrop>(source, host, filter, status);
}
