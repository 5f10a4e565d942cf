#include "filters/flip-rotate/Rot0DegreesFactory.h"

#include "filters/flip-rotate/Rot0DegreesFilter.h"
#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0x82761B07, 0xAF3F, 0x43E8, {0x9D, 0xD4, 0x5A, 0xF8, 0xAF, 0xA1, 0x3D, 0x2A}},
    IDS_NAME_ROT0, 0x1, 500, kNoIcon, HostKeeping::Counted};

} // namespace

CRot0DegreesFactory::CRot0DegreesFactory() : CFilterFactoryBase(kDescription) {}

bool CRot0DegreesFactory::NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status)
{
    return MakeFilter<CRot0DegreesFilter>(source, host, filter, status);
}
