#include "apps/cli/PreviewShapeOption.h"

#include "Common/base/InteractiveInterfaces.h"
#include "platform/ComPtr.h"
#include "platform/WideString.h"
#include "refhost/PreviewSite.h"

#include <cstdio>

namespace {

const std::optional<std::array<int, 4>>& GivenShape(PreviewShape shape, const CommandLineOptions& options)
{
    return shape == PreviewShape::Line ? options.line : options.selection;
}

// The preview site's text, as the editor writes it from its mouse tools.
WString ShapeText(const std::array<int, 4>& numbers)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d %d %d %d", numbers[0], numbers[1], numbers[2], numbers[3]);
    return WidenUtf8(text);
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

// A filter of another module declares nothing: it gets what the user gives.
bool CheckPreviewShapeOptions(const FilterEntry& entry, const CommandLineOptions& options, std::string& error)
{
    for (const PreviewShape given : {PreviewShape::Selection, PreviewShape::Line}) {
        if (!GivenShape(given, options)) continue;
        const std::string option = given == PreviewShape::Line ? "--line" : "--selection";
        if (entry.kind == FilterKind::Plain) {
            error = "'" + entry.menuPath + "' has no settings and reads nothing drawn on the photo; leave out " + option;
            return false;
        }
        const PreviewShape read = entry.previewShape.shape;
        const bool declares = read != PreviewShape::None || !entry.settings.empty();
        if (!declares || read == given) continue;
        error = "'" + entry.menuPath + "' " +
                (read == PreviewShape::None ? "reads nothing drawn on the photo; leave out " + option
                                            : "reads " + PreviewShapeOptionName(read) + ", not " + option);
        return false;
    }
    return true;
}

void HandPreviewShape(IFilter* filter, const CommandLineOptions& options)
{
    const auto& shape = options.selection ? options.selection : options.line;
    if (!shape) return;
    const auto interactive = CComPtr<IInteractiveFilter>::Query(filter, IID_IInteractiveFilter);
    if (!interactive) return;
    const auto site = CComPtr<CPreviewSite>::Adopt(CPreviewSite::Create(nullptr));
    if (!site) return;
    site->SelectByUser(ShapeText(*shape).c_str());
    interactive->SetPreviewSite(site.Get());
    interactive->SelectionChanged();
}

std::string MissingPreviewShapeAdvice(const FilterEntry& entry, const CommandLineOptions& options)
{
    const FilterPreviewShape& read = entry.previewShape;
    if (!read.required || GivenShape(read.shape, options)) return {};
    const char* what = read.shape == PreviewShape::Line ? "a line drawn on" : "a rectangle selected on";
    return std::string("it works on ") + what + " the photo: give it with " + PreviewShapeOptionName(read.shape) +
           " (pixels, x from the left, y from the top)";
}
