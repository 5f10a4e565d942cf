#include "filters/flip-rotate/Rot90ClockWiseFactory.h"

#include "filters/flip-rotate/Rot90ClockWiseFilter.h"
#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0xD731EB6D, 0xC454, 0x48B6, {0xAC, 0x62, 0x88, 0xE6, 0x09, 0x7C, 0x7F, 0xEE}},
    IDS_NAME_ROT90_CW, 0x1, 500, kNoIcon, HostKeeping::Counted};

} // namespace

CRot90ClockWiseFactory::CRot90ClockWiseFactory() : CFilterFactoryBase(kDescription) {}

bool CRot90ClockWiseFactory::NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status)
{
    return MakeFilter<CRot90ClockWiseFilter>(source, host, filter, status);
}
