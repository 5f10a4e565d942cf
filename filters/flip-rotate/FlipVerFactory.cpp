#include "filters/flip-rotate/FlipVerFactory.h"

#include "filters/flip-rotate/FlipVerFilter.h"
#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0xB9A1716B, 0x1F0B, 0x4279, {0x86, 0x1E, 0xC1, 0xF8, 0x15, 0xB5, 0xB6, 0xFD}},
    IDS_NAME_FLIP_VER, 0x0, 500, 5016, HostKeeping::None};

} // namespace

CFlipVerFactory::CFlipVerFactory() : CFilterFactoryBase(kDescription) {}

bool CFlipVerFactory::NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status)
{
    return MakeFilter<CFlipVerFilter>(source, host, filter, status);
}
