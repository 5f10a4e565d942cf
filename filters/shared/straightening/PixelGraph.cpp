#include "filters/shared/straightening/PixelGraph.h"

#include "filters/shared/straightening/EdgeMap.h"

// A graph holds every edge pixel connected to its seed, so the non-zero neighbours
// met here are new edge pixels or nodes of this same graph, never of an earlier one.
std::vector<GraphNode> BuildPixelGraph(WorkingPlane<uint8_t>& edges, int seed, std::vector<int>& nodeOfPixel)
{
    std::vector<GraphNode> nodes;
    const auto reach = [&](int pixel) {
        edges.values[static_cast<size_t>(pixel)] = kGraphPixel;
        nodeOfPixel[static_cast<size_t>(pixel)] = static_cast<int>(nodes.size());
        nodes.push_back(GraphNode{pixel});
    };
    reach(seed);
    for (size_t head = 0; head < nodes.size(); ++head) {
        const int x = nodes[head].pixel % edges.width;
        const int y = nodes[head].pixel / edges.width;
        for (int slot = 0; slot < kLinkSlots; ++slot) {
            const int nx = x + kSlotColumnStep[static_cast<size_t>(slot)];
            const int ny = y + kSlotRowStep[static_cast<size_t>(slot)];
            if (nx < 0 || ny < 0 || nx >= edges.width || ny >= edges.height) continue;
            const uint8_t value = edges.At(nx, ny);
            if (value == 0) continue;
            const int neighbour = ny * edges.width + nx;
            if (value == kEdgePixel) reach(neighbour);
            nodes[head].links[static_cast<size_t>(slot)] = nodeOfPixel[static_cast<size_t>(neighbour)];
            ++nodes[head].linkCount;
        }
    }
    return nodes;
}
