#include "apps/cli/PreviewShapeOption.h"

#include "refhost/DrawnShape.h"

namespace {

DrawnShapes ShapesOf(const CommandLineOptions& options)
{
    return DrawnShapes{options.selection, options.line};
}

} // namespace

std::string PreviewShapeOptionName(PreviewShape shape)
{
    switch (shape) {
    case PreviewShape::Selection: return "--selection LEFT,TOP,RIGHT,BOTTOM";
    case PreviewShape::Line: return "--line X1,Y1,X2,Y2";
    case PreviewShape::None: break;
    }
    return {};
}

bool CheckPreviewShapeOptions(const FilterEntry& entry, const CommandLineOptions& options, std::string& error)
{
    const PreviewShape refused = RefusedShape(entry, ShapesOf(options));
    if (refused == PreviewShape::None) return true;
    const std::string option = refused == PreviewShape::Line ? "--line" : "--selection";
    const PreviewShape read = entry.previewShape.shape;
    if (entry.kind == FilterKind::Plain) {
        error = "'" + entry.menuPath + "' has no settings and reads nothing drawn on the photo; leave out " + option;
    } else {
        error = "'" + entry.menuPath + "' " +
                (read == PreviewShape::None ? "reads nothing drawn on the photo; leave out " + option
                                            : "reads " + PreviewShapeOptionName(read) + ", not " + option);
    }
    return false;
}

void HandPreviewShape(IFilter* filter, const CommandLineOptions& options)
{
    HandDrawnShape(filter, ShapesOf(options));
}

std::string MissingPreviewShapeAdvice(const FilterEntry& entry, const CommandLineOptions& options)
{
    if (!LacksRequiredShape(entry, ShapesOf(options))) return {};
    const PreviewShape shape = entry.previewShape.shape;
    const char* what = shape == PreviewShape::Line ? "a line drawn on" : "a rectangle selected on";
    return std::string("it works on ") + what + " the photo: give it with " + PreviewShapeOptionName(shape) +
           " (pixels, x from the left, y from the top)";
}
