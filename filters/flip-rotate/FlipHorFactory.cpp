#include "filters/flip-rotate/FlipHorFactory.h"

#include "filters/flip-rotate/FlipHorFilter.h"
#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0xDA1CAF9D, 0x236E, 0x42F3, {0xBB, 0xA6, 0x5C, 0x7C, 0x8B, 0xB9, 0xCE, 0x6A}},
    IDS_NAME_FLIP_HOR, 0x0, 500, 5004, HostKeeping::None};

} // namespace

CFlipHorFactory::CFlipHorFactory() : CFilterFactoryBase(kDescription) {}

bool CFlipHorFactory::NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status)
{
    return MakeFilter<CFlipHorFilter>(source, host, filter, status);
}
