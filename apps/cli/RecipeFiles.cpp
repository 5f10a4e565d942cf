#include "apps/cli/RecipeFiles.h"

#include <cstdio>

bool ReadRecipePlan(const std::string& path, const CFilterCatalog& catalog, CRecipePlan& plan, bool quiet)
{
    CRecipe recipe;
    std::string error;
    if (!CRecipe::Read(path, recipe, error)) {
        std::fprintf(stderr, "basicfilters: %s\n", error.c_str());
        return false;
    }
    if (!CRecipePlan::Make(recipe, catalog, plan, error)) {
        std::fprintf(stderr, "basicfilters: %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    if (quiet) return true;
    for (const std::string& warning : plan.Warnings()) {
        std::fprintf(stderr, "basicfilters: %s: %s\n", path.c_str(), warning.c_str());
    }
    return true;
}
