#pragma once
// Reading a filter's whole parameter text the way a host does: ask for the size,
// then for the text.

#include "Common/base/FilterInterfaces.h"
#include "platform/WideString.h"

WString ReadFilterFormat(IHaveFormat* filter);
