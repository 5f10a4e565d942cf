#include "apps/editor/PreviewTool.h"

namespace {

constexpr int kPointForNeutralColour = 1;
constexpr int kRectangleForCrop = 2;
constexpr int kLineForStraightening = 3;
constexpr int kRectangleForRedEye = 4;
constexpr int kShapeUsed = 1;

} // namespace

ToolRequest DecodeToolMode(int first, int second)
{
    ToolRequest request;
    if (second == kRectangleForCrop || second == kRectangleForRedEye) request.tool = PreviewTool::Rectangle;
    else if (second == kLineForStraightening) request.tool = PreviewTool::Line;
    else if (second == kPointForNeutralColour && first == 0) request.tool = PreviewTool::Point;
    else if (second == 0 && first == kShapeUsed) request.clearShape = true;
    return request;
}
