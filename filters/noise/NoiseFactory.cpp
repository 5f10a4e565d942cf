#include "filters/noise/NoiseFactory.h"

#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0x90B2B731, 0xCF37, 0x48B9, {0xBA, 0x88, 0xEE, 0xBA, 0x8F, 0x80, 0x40, 0x8B}},
    IDS_NAME_NOISE, 0x270000, 501, 5057, HostKeeping::Counted};

} // namespace

CInteractiveNoiseFactory::CInteractiveNoiseFactory() : CFilterFactoryBase(kDescription) {}
