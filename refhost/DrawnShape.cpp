#include "refhost/DrawnShape.h"

#include "Common/base/InteractiveInterfaces.h"
#include "platform/WideString.h"
#include "refhost/PreviewSite.h"

#include <cstdio>

namespace {

bool Given(PreviewShape shape, const DrawnShapes& shapes)
{
    return shape == PreviewShape::Line ? shapes.line.has_value() : shapes.selection.has_value();
}

// The preview site's text, as the editor writes it from its mouse tools.
WString ShapeText(const std::array<int, 4>& numbers)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d %d %d %d", numbers[0], numbers[1], numbers[2], numbers[3]);
    return WidenUtf8(text);
}

} // namespace

PreviewShape RefusedShape(const FilterEntry& entry, const DrawnShapes& shapes)
{
    for (const PreviewShape given : {PreviewShape::Selection, PreviewShape::Line}) {
        if (!Given(given, shapes)) continue;
        if (entry.kind == FilterKind::Plain) return given;
        const PreviewShape read = entry.previewShape.shape;
        const bool declares = read != PreviewShape::None || !entry.settings.empty();
        if (declares && read != given) return given;
    }
    return PreviewShape::None;
}

bool LacksRequiredShape(const FilterEntry& entry, const DrawnShapes& shapes)
{
    return entry.previewShape.required && !Given(entry.previewShape.shape, shapes);
}

void HandDrawnShape(IFilter* filter, const DrawnShapes& shapes)
{
    const auto& shape = shapes.selection ? shapes.selection : shapes.line;
    if (!shape) return;
    const auto interactive = CComPtr<IInteractiveFilter>::Query(filter, IID_IInteractiveFilter);
    if (!interactive) return;
    const auto site = CComPtr<CPreviewSite>::Adopt(CPreviewSite::Create(nullptr));
    if (!site) return;
    site->SelectByUser(ShapeText(*shape).c_str());
    interactive->SetPreviewSite(site.Get());
    interactive->SelectionChanged();
}
