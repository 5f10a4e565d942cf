#include "refhost/RecipePlan.h"

#include "Common/params/ParamList.h"
#include "refhost/FilterLookup.h"
#include "refhost/FilterSettings.h"

namespace {

std::string AtLine(int number, const std::string& message)
{
    return number > 0 ? "line " + std::to_string(number) + ": " + message : message;
}

const char* ShapeLineName(PreviewShape shape)
{
    return shape == PreviewShape::Line ? "line X1,Y1,X2,Y2" : "selection L,T,R,B";
}

bool CheckShapes(const FilterEntry& entry, const DrawnShapes& shapes, std::string& error)
{
    const PreviewShape refused = RefusedShape(entry, shapes);
    const PreviewShape read = entry.previewShape.shape;
    if (refused != PreviewShape::None) {
        const std::string word = refused == PreviewShape::Line ? "line" : "selection";
        error = "'" + entry.menuPath + "' " +
                (read == PreviewShape::None ? "reads nothing drawn on the photo; leave out its '" + word + "'"
                                            : "reads '" + std::string(ShapeLineName(read)) + "', not '" + word + "'");
        return false;
    }
    if (LacksRequiredShape(entry, shapes)) {
        error = "'" + entry.menuPath + "' works on what is drawn on the photo: add an indented '" +
                ShapeLineName(read) + "' line below it (pixels, y from the top)";
        return false;
    }
    return true;
}

// Each KEY:VALUE line checked alone first, so that a fault names its own line. What
// depends on the whole text (the page chosen, start values) is left to the whole.
bool CheckEachLine(const FilterEntry& entry, const RecipeStep& step, std::string& error)
{
    if (entry.settings.empty()) return true;
    size_t index = 0;
    for (size_t start = 0; start < step.parameterText.size() && index < step.parameterLines.size(); ++index) {
        const size_t end = step.parameterText.find('\n', start);
        CParamList alone(WidenUtf8(step.parameterText.substr(start, end - start)).c_str());
        start = end == std::string::npos ? step.parameterText.size() : end + 1;
        SettingNotes ignored;
        std::string fault;
        if (!CheckAndComplete(entry, alone, ignored, fault)) {
            error = AtLine(step.parameterLines[index], entry.menuPath + ": " + fault);
            return false;
        }
    }
    return true;
}

} // namespace

bool CRecipePlan::CompleteText(const FilterEntry& entry, const std::string& text, WString& completed,
                               std::vector<std::string>& warnings, std::string& error)
{
    CParamList list;
    if (list.Parse(WidenUtf8(text).c_str()) != 0) {
        error = "the parameter text is not made of KEY:VALUE lines";
        return false;
    }
    if (entry.kind == FilterKind::Plain && list.Count() > 0) {
        error = "'" + entry.menuPath + "' takes no settings";
        return false;
    }
    SettingNotes notes;
    if (!entry.settings.empty() && !CheckAndComplete(entry, list, notes, error)) {
        error = entry.menuPath + ": " + error;
        return false;
    }
    for (const std::string& warning : notes.warnings) warnings.push_back(entry.menuPath + ": " + warning);
    completed = list.ToString();
    return true;
}

bool CRecipePlan::Make(const CRecipe& recipe, const CFilterCatalog& catalog, CRecipePlan& plan, std::string& error)
{
    CRecipePlan made;
    for (const RecipeStep& step : recipe.Steps()) {
        PlannedStep planned;
        planned.shapes = DrawnShapes{step.selection, step.line};
        planned.lineNumber = step.lineNumber;
        std::string fault;
        planned.entry = FindFilterByName(catalog, step.filter, fault);
        if (planned.entry != nullptr && !CheckEachLine(*planned.entry, step, error)) return false;
        std::vector<std::string> warnings;
        const bool checked = planned.entry != nullptr &&
                             CompleteText(*planned.entry, step.parameterText, planned.text, warnings, fault) &&
                             CheckShapes(*planned.entry, planned.shapes, fault);
        if (!checked) {
            error = AtLine(step.lineNumber, fault);
            return false;
        }
        for (const std::string& warning : warnings) made.m_warnings.push_back(AtLine(step.lineNumber, warning));
        planned.handsText = !step.parameterText.empty() || !planned.entry->settings.empty();
        made.m_steps.push_back(std::move(planned));
    }
    if (made.m_steps.empty()) {
        error = "the recipe has no steps; add one with 'basicfilters recipe add'";
        return false;
    }
    plan = std::move(made);
    return true;
}

std::vector<RecipeStep> CRecipePlan::RecipeSteps() const
{
    std::vector<RecipeStep> steps;
    for (const PlannedStep& planned : m_steps) {
        RecipeStep step;
        step.filter = planned.entry->menuPath;
        if (planned.handsText) step.parameterText = NarrowToUtf8(planned.text);
        step.selection = planned.shapes.selection;
        step.line = planned.shapes.line;
        steps.push_back(std::move(step));
    }
    return steps;
}
