#pragma once
// A filter found by what a user wrote: its index, its menu path or the path's last
// part, with the nearest names offered for a typo.

#include "refhost/FilterCatalog.h"

#include <string>

// The one filter name names; null with a message (no such filter and the nearest
// names, or the several filters it names, one a line) otherwise.
const FilterEntry* FindFilterByName(const CFilterCatalog& catalog, const std::string& name, std::string& error);
