#include "filters/shared/straightening/EdgeChains.h"

#include "filters/shared/straightening/EdgeMap.h"

#include <deque>
#include <limits>
#include <utility>

namespace {

// Straight neighbours are tried before diagonal ones; on equal residuals the first
// tried wins.
constexpr std::array<int, kLinkSlots> kGrowthOrder{0, 2, 4, 6, 1, 3, 5, 7};

// The chain being grown: its nodes in chain order, its points in the order they
// joined (the order does not matter to a fit), their sums, and the links it consumed.
struct GrowingChain {
    std::deque<int> nodes;
    std::vector<ChainPoint> points;
    PointSums sums;
    std::vector<std::pair<int, int>> consumed;  // node, slot
};

ChainPoint PointOf(const GraphNode& node, int width)
{
    return {node.pixel % width, node.pixel / width};
}

// A free node with the fewest links, so that chains start at line ends: the first
// with one link at once, else the first with the fewest.
int StartNode(const std::vector<GraphNode>& nodes)
{
    int start = -1;
    for (size_t i = 0; i < nodes.size(); ++i) {
        const GraphNode& node = nodes[i];
        if (node.used || node.linkCount == 0) continue;
        if (node.linkCount == 1) return static_cast<int>(i);
        if (start < 0 || node.linkCount < nodes[static_cast<size_t>(start)].linkCount) start = static_cast<int>(i);
    }
    return start;
}

void Join(GrowingChain& chain, int node, ChainPoint point, bool atBack)
{
    if (atBack) {
        chain.nodes.push_back(node);
    } else {
        chain.nodes.push_front(node);
    }
    chain.points.push_back(point);
    chain.sums.Add(point);
}

// Only the start node counts as used while a chain grows, so a chain may come back
// to one of its own nodes through a link it has not consumed.
void GrowAtEnd(GrowingChain& chain, std::vector<GraphNode>& nodes, int width, bool atBack)
{
    for (;;) {
        const int end = atBack ? chain.nodes.back() : chain.nodes.front();
        GraphNode& endNode = nodes[static_cast<size_t>(end)];
        int bestSlot = -1;
        double bestResidual = std::numeric_limits<double>::infinity();
        for (const int slot : kGrowthOrder) {
            const int link = endNode.links[static_cast<size_t>(slot)];
            if (link < 0 || nodes[static_cast<size_t>(link)].used) continue;
            const double residual =
                LargestResidualWith(chain.points, chain.sums, PointOf(nodes[static_cast<size_t>(link)], width));
            if (residual < bestResidual) {
                bestResidual = residual;
                bestSlot = slot;
            }
        }
        if (bestSlot < 0 || !(bestResidual < 1.0 + 0.01 * static_cast<double>(chain.points.size()))) return;
        const int next = endNode.links[static_cast<size_t>(bestSlot)];
        endNode.links[static_cast<size_t>(bestSlot)] = -2 - next;
        nodes[static_cast<size_t>(next)].links[static_cast<size_t>(OppositeSlot(bestSlot))] = -2 - end;
        chain.consumed.emplace_back(end, bestSlot);
        Join(chain, next, PointOf(nodes[static_cast<size_t>(next)], width), atBack);
    }
}

void RestoreLinks(const GrowingChain& chain, std::vector<GraphNode>& nodes)
{
    for (const auto& [node, slot] : chain.consumed) {
        int& link = nodes[static_cast<size_t>(node)].links[static_cast<size_t>(slot)];
        link = -2 - link;
        nodes[static_cast<size_t>(link)].links[static_cast<size_t>(OppositeSlot(slot))] = node;
    }
}

// A kept chain's nodes become used and its pixels are marked in the edge map.
void Keep(const GrowingChain& chain, std::vector<GraphNode>& nodes, WorkingPlane<uint8_t>& edges,
          std::vector<ChainPoint> points, double angle, std::vector<EdgeChain>& chains)
{
    for (const int node : chain.nodes) {
        GraphNode& kept = nodes[static_cast<size_t>(node)];
        kept.used = true;
        edges.values[static_cast<size_t>(kept.pixel)] = kChainPixel;
    }
    chains.push_back({std::move(points), angle});
}

} // namespace

void ExtractChains(std::vector<GraphNode>& nodes, WorkingPlane<uint8_t>& edges, std::vector<EdgeChain>& chains)
{
    for (int start = StartNode(nodes); start >= 0; start = StartNode(nodes)) {
        nodes[static_cast<size_t>(start)].used = true;
        GrowingChain chain;
        Join(chain, start, PointOf(nodes[static_cast<size_t>(start)], edges.width), true);
        GrowAtEnd(chain, nodes, edges.width, true);
        GrowAtEnd(chain, nodes, edges.width, false);
        RestoreLinks(chain, nodes);
        if (chain.nodes.size() <= 2) continue;
        std::vector<ChainPoint> points;
        points.reserve(chain.nodes.size());
        for (const int node : chain.nodes) points.push_back(PointOf(nodes[static_cast<size_t>(node)], edges.width));
        const FittedLine line = FitLine(chain.sums);
        if (LineMeetsBox(line, points, edges.width, edges.height)) {
            Keep(chain, nodes, edges, std::move(points), line.angle, chains);
        }
    }
}

bool CollectChains(WorkingPlane<uint8_t>& edges, std::vector<EdgeChain>& chains, StageProgress& progress)
{
    std::vector<int> nodeOfPixel(edges.values.size());
    for (int y = 0; y < edges.height; ++y) {
        if (!progress.Next()) return false;
        for (int x = 0; x < edges.width; ++x) {
            if (edges.At(x, y) != kEdgePixel) continue;
            std::vector<GraphNode> nodes = BuildPixelGraph(edges, y * edges.width + x, nodeOfPixel);
            ExtractChains(nodes, edges, chains);
        }
    }
    return true;
}
