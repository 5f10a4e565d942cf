// The recipe reader on any text: it accepts or refuses with a message that names a
// line, and a recipe it accepts writes a text that reads back as the same steps.

#include "refhost/Recipe.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Require(bool condition)
{
    if (!condition) std::abort();
}

bool SameSteps(const CRecipe& a, const CRecipe& b)
{
    if (a.Steps().size() != b.Steps().size()) return false;
    for (size_t i = 0; i < a.Steps().size(); ++i) {
        const RecipeStep& x = a.Steps()[i];
        const RecipeStep& y = b.Steps()[i];
        if (x.filter != y.filter || x.parameterText != y.parameterText || x.selection != y.selection ||
            x.line != y.line) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CRecipe recipe;
    std::string error;
    if (!CRecipe::Parse(text, recipe, error)) {
        Require(!error.empty());
        return 0;
    }
    CRecipe again;
    Require(CRecipe::Parse(recipe.ToText(), again, error));
    Require(SameSteps(recipe, again));
    return 0;
}
