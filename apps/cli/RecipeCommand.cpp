#include "apps/cli/Commands.h"
#include "apps/cli/ParameterText.h"
#include "apps/cli/PreviewShapeOption.h"
#include "apps/cli/RecipeFiles.h"

#include <cstdio>
#include <filesystem>

namespace {

constexpr const char* kRecipeUsage =
    "usage: basicfilters recipe add FILE FILTER [--set KEY=VALUE]... [--format TEXT | --format-file F]\n"
    "                               [--selection L,T,R,B | --line X1,Y1,X2,Y2]\n"
    "       basicfilters recipe show FILE";

void PrintError(const std::string& message)
{
    std::fprintf(stderr, "basicfilters: %s\n", message.c_str());
}

// The step as the recipe will hold it: the filter's menu path, the parameter text
// format would print, and the shape; false after printing why not.
bool MakeStep(const FilterEntry& entry, const CommandLineOptions& options, RecipeStep& step)
{
    std::string error;
    if (entry.kind == FilterKind::Plain && HasParameterText(options)) {
        error = "'" + entry.menuPath + "' takes no settings";
    }
    WString text;
    SettingNotes notes;
    const bool handsText = HasParameterText(options) || !entry.settings.empty();
    if (error.empty() && handsText && PrepareParameterText(entry, options, text, notes, error)) {
        step.parameterText = NarrowToUtf8(text);
    }
    if (error.empty()) CheckPreviewShapeOptions(entry, options, error);
    if (error.empty()) error = MissingPreviewShapeAdvice(entry, options);
    if (!error.empty()) {
        PrintError(error);
        return false;
    }
    notes.defaultsUsed.clear();
    PrintSettingNotes(entry, notes, options.quiet);
    step.filter = entry.menuPath;
    step.selection = options.selection;
    step.line = options.line;
    return true;
}

// Every step of a recipe written is checked again, so that a hand-edited file is
// never made worse by adding to it.
int AddStep(const CommandLineOptions& options, const CFilterCatalog& catalog)
{
    if (options.operands.size() != 3) {
        PrintError(kRecipeUsage);
        return kExitUsage;
    }
    const std::string& path = options.operands[1];
    CRecipe recipe;
    std::string error;
    std::error_code missing;
    if (std::filesystem::exists(path, missing) && !CRecipe::Read(path, recipe, error)) {
        PrintError(error);
        return kExitUsage;
    }
    const FilterEntry* entry = ResolveFilter(catalog, options.operands[2]);
    RecipeStep step;
    if (entry == nullptr || !MakeStep(*entry, options, step)) return kExitUsage;
    recipe.Add(std::move(step));
    CRecipePlan plan;
    if (!CRecipePlan::Make(recipe, catalog, plan, error)) {
        PrintError(path + ": " + error);
        return kExitUsage;
    }
    if (!recipe.Write(path, error)) {
        PrintError(error);
        return kExitFile;
    }
    return kExitOk;
}

void PrintShape(const char* word, const std::optional<std::array<int, 4>>& shape)
{
    if (shape) std::printf("     %s %d,%d,%d,%d\n", word, (*shape)[0], (*shape)[1], (*shape)[2], (*shape)[3]);
}

// The steps as they will run: each filter's text with the start values filled in.
int ShowSteps(const CommandLineOptions& options, const CFilterCatalog& catalog)
{
    if (options.operands.size() != 2) {
        PrintError(kRecipeUsage);
        return kExitUsage;
    }
    CRecipePlan plan;
    if (!ReadRecipePlan(options.operands[1], catalog, plan, options.quiet)) return kExitUsage;
    int number = 0;
    for (const PlannedStep& step : plan.Steps()) {
        std::printf("%d. %s (line %d)\n", ++number, step.entry->menuPath.c_str(), step.lineNumber);
        if (step.handsText) {
            std::string text = NarrowToUtf8(step.text);
            for (size_t start = 0; start < text.size();) {
                const size_t end = text.find('\n', start);
                std::printf("     %s\n", text.substr(start, end - start).c_str());
                start = end == std::string::npos ? text.size() : end + 1;
            }
        }
        PrintShape("selection", step.shapes.selection);
        PrintShape("line", step.shapes.line);
    }
    return kExitOk;
}

} // namespace

int RunRecipe(const CommandLineOptions& options, const CFilterCatalog& catalog)
{
    const std::string action = options.operands.empty() ? std::string() : options.operands.front();
    if (action == "add") return AddStep(options, catalog);
    if (action == "show") return ShowSteps(options, catalog);
    PrintError(action.empty() ? std::string(kRecipeUsage) : "unknown recipe action '" + action + "'\n" + kRecipeUsage);
    return kExitUsage;
}
