#pragma once
// One applied filter in the photo's history: the pictures before and after it, and
// the recipe steps that give the one from the other (several for a recipe applied as
// one step). Consecutive steps share their pictures, so the history costs one
// picture a step.

#include "host/HostInterfaces.h"
#include "platform/ComPtr.h"
#include "refhost/Recipe.h"

#include <QUndoCommand>

#include <vector>

class CPhotoDocument;

class CFilterStep final : public QUndoCommand {
public:
    CFilterStep(CPhotoDocument* document, IImage* before, IImage* after, const QString& filterName,
                std::vector<RecipeStep> recipeSteps);

    void undo() override;
    void redo() override;

    const std::vector<RecipeStep>& RecipeSteps() const { return m_recipeSteps; }

private:
    CPhotoDocument* m_document;
    CComPtr<IImage> m_before;
    CComPtr<IImage> m_after;
    std::vector<RecipeStep> m_recipeSteps;
};
