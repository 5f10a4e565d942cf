#pragma once
// A recipe file read and checked against the module as every command that runs one
// needs it: the first fault, or each warning, on a line of stderr.

#include "refhost/RecipePlan.h"

#include <string>

// False after printing why (unreadable, a line at fault); warnings are printed
// unless quiet.
bool ReadRecipePlan(const std::string& path, const CFilterCatalog& catalog, CRecipePlan& plan, bool quiet = false);
