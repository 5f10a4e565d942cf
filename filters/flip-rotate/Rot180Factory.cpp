#include "filters/flip-rotate/Rot180Factory.h"

#include "filters/flip-rotate/Rot180Filter.h"
#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0x52674F7A, 0x8AC2, 0x48E9, {0x91, 0xDA, 0x62, 0x4B, 0x89, 0xA2, 0xA8, 0xB1}},
    IDS_NAME_ROT180, 0x1, 500, kNoIcon, HostKeeping::Counted};

} // namespace

CRot180Factory::CRot180Factory() : CFilterFactoryBase(kDescription) {}

bool CRot180Factory::NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status)
{
    return MakeFilter<CRot180Filter>(source, host, filter, status);
}
