#include "apps/editor/RecordedStep.h"

RecipeStep RecordedStep(const FilterEntry& entry, const WString& format, const QString& shapeText)
{
    RecipeStep step;
    step.filter = entry.menuPath;
    step.parameterText = NarrowToUtf8(format);
    std::array<int, 4> numbers{};
    if (entry.previewShape.shape == PreviewShape::Selection && ParseShapeNumbers(shapeText.toStdString(), numbers)) {
        step.selection = numbers;
    }
    return step;
}
