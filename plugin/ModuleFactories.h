#pragma once
// The module's static factory objects.

#include "plugin/FilterFactoryBase.h"

#include <array>

// The factories the enumerator hands out, in its order.
const std::array<CFilterFactoryBase*, 20>& ListedFactories();

// Two factories live in the module without being listed.
CFilterFactoryBase& RedEyeFactory();
CFilterFactoryBase& FrameFilterFactory();

// The right-angle factories, which the free rotation reuses.
CFilterFactoryBase& Rot0DegreesFactory();
CFilterFactoryBase& Rot90ClockWiseFactory();
CFilterFactoryBase& Rot90CounterClockWiseFactory();
CFilterFactoryBase& Rot180Factory();
