#include "filters/flip-rotate/Rot90CounterClockWiseFactory.h"

#include "filters/flip-rotate/Rot90CounterClockWiseFilter.h"
#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0xAB60E516, 0x5012, 0x4D00, {0xB0, 0xFB, 0x76, 0xA3, 0xF7, 0x99, 0x73, 0xAB}},
    IDS_NAME_ROT90_CCW, 0x1, 500, kNoIcon, HostKeeping::Counted};

} // namespace

CRot90CounterClockWiseFactory::CRot90CounterClockWiseFactory() : CFilterFactoryBase(kDescription) {}

bool CRot90CounterClockWiseFactory::NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status)
{
    return MakeFilter<CRot90CounterClockWiseFilter>(source, host, filter, status);
}
