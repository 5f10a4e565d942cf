#include "filters/exposure/ExposureFactory.h"

#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0x37F54C6C, 0x84C1, 0x453F, {0xBA, 0x55, 0x4C, 0x16, 0x49, 0xFF, 0x85, 0x9C}},
    IDS_NAME_EXPOSURE, 0x30000, 100, 5059, HostKeeping::None};

} // namespace

CExposureFactory::CExposureFactory() : CFilterFactoryBase(kDescription) {}
