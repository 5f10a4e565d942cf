#include "filters/brightness-contrast/BrightnessContrastFactory.h"

#include "filters/brightness-contrast/BrightnessContrastFilter.h"
#include "filters/brightness-contrast/BrightnessContrastSettings.h"
#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0x7BB73AC6, 0xCF33, 0x4096, {0x8C, 0xE3, 0x1F, 0x50, 0x80, 0x98, 0x3B, 0x12}},
    IDS_NAME_BRIGHTNESS_CONTRAST, 0x30000, 500, 5065, HostKeeping::Counted, Listing::Listed,
    kBrightnessContrastSettings};

} // namespace

CInteractiveBrightnessContrastFactory::CInteractiveBrightnessContrastFactory() : CFilterFactoryBase(kDescription) {}

bool CInteractiveBrightnessContrastFactory::NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter,
                                                       IStatus** status)
{
    return MakeFilter<CInteractiveBrightnessContrastFilter>(source, host, filter, status);
}
