#pragma once
// A recipe checked against a loaded module, before any photo is read: every filter
// found, every parameter text checked and completed with the dialog's start values,
// every drawn shape one its filter reads. What is left can only fail on a photo.

#include "platform/WideString.h"
#include "refhost/DrawnShape.h"
#include "refhost/FilterCatalog.h"
#include "refhost/Recipe.h"

#include <string>
#include <vector>

struct PlannedStep {
    const FilterEntry* entry = nullptr;
    // False for a filter without settings, and for one of another module that
    // declares none and was given none: such a filter gets no parameter text.
    bool handsText = false;
    WString text;
    DrawnShapes shapes;
    int lineNumber = 0;
};

class CRecipePlan {
public:
    // False with a message naming the line of the first step at fault; warnings
    // (numbers outside a dialog's range, keys of a page not chosen) name theirs too.
    static bool Make(const CRecipe& recipe, const CFilterCatalog& catalog, CRecipePlan& plan, std::string& error);

    const std::vector<PlannedStep>& Steps() const { return m_steps; }
    const std::vector<std::string>& Warnings() const { return m_warnings; }
    // The steps as a recipe writes them: menu paths and completed texts.
    std::vector<RecipeStep> RecipeSteps() const;

    // The parameter text of a step as a recipe holds it: the text the tool would
    // hand the filter, settings given in text and then in pairs (later ones win),
    // checked and completed. False with why not.
    static bool CompleteText(const FilterEntry& entry, const std::string& text, WString& completed,
                             std::vector<std::string>& warnings, std::string& error);

private:
    std::vector<PlannedStep> m_steps;
    std::vector<std::string> m_warnings;
};
