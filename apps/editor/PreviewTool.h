#pragma once
// The preview's mouse tools, and how a filter's two-number tool request maps onto
// them. The module sends (0, 2) and (0, 4) for a rectangle, (0, 3) for a line,
// (0, 1) for picking a colour with a click, (1, 0) when it has used the drawn shape,
// and a few pairs that only tell the host about the dialog's own state.

#include <optional>

enum class PreviewTool {
    Pan,        // dragging scrolls the photo
    Rectangle,  // dragging draws or moves a selection
    Line,       // dragging draws a line
    Point,      // a click picks the pixel under it
};

struct ToolRequest {
    std::optional<PreviewTool> tool;  // empty: keep the current tool
    bool clearShape = false;          // drop the drawn selection or line
};

ToolRequest DecodeToolMode(int first, int second);
