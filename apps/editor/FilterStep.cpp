#include "apps/editor/FilterStep.h"

#include "apps/editor/PhotoDocument.h"

CFilterStep::CFilterStep(CPhotoDocument* document, IImage* before, IImage* after, const QString& filterName,
                         std::vector<RecipeStep> recipeSteps)
    : QUndoCommand(filterName),
      m_document(document),
      m_before(CComPtr<IImage>::Share(before)),
      m_after(CComPtr<IImage>::Share(after)),
      m_recipeSteps(std::move(recipeSteps))
{
}

void CFilterStep::undo()
{
    m_document->SetImage(m_before.Get());
}

void CFilterStep::redo()
{
    m_document->SetImage(m_after.Get());
}
