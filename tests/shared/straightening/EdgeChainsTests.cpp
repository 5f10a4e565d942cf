// Graphs and chains of the straightening detection on small hand-drawn edge maps:
// node order and links, where chains start, which neighbour a chain takes, which
// chains are dropped, and the marks left in the edge map.

#include "filters/shared/straightening/EdgeChains.h"
#include "filters/shared/straightening/EdgeMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <vector>

namespace {

WorkingPlane<uint8_t> EdgesAt(int width, int height, std::initializer_list<ChainPoint> pixels)
{
    WorkingPlane<uint8_t> edges(width, height);
    for (const ChainPoint p : pixels) edges.At(p.x, p.y) = kEdgePixel;
    return edges;
}

std::vector<EdgeChain> ChainsOf(WorkingPlane<uint8_t>& edges)
{
    std::vector<EdgeChain> chains;
    StageProgress progress({}, 0);
    EXPECT_TRUE(CollectChains(edges, chains, progress));
    return chains;
}

std::vector<ChainPoint> Row(int fromX, int toX, int y)
{
    std::vector<ChainPoint> points;
    for (int x = fromX; x <= toX; ++x) points.push_back({x, y});
    return points;
}

} // namespace

TEST(EdgeChains, GraphNodesInBreadthFirstOrderWithLinksBySlot)
{
    // A (1,1), B (2,1) right of it, C (2,2) below-right; D (4,3) apart.
    WorkingPlane<uint8_t> edges = EdgesAt(5, 4, {{1, 1}, {2, 1}, {2, 2}, {4, 3}});
    std::vector<int> nodeOfPixel(20, -1);
    const std::vector<GraphNode> nodes = BuildPixelGraph(edges, 1 * 5 + 1, nodeOfPixel);
    ASSERT_EQ(nodes.size(), 3u);
    EXPECT_EQ(nodes[0].pixel, 6);
    EXPECT_EQ(nodes[1].pixel, 7);   // slot 2 (right) comes before slot 3 (down-right)
    EXPECT_EQ(nodes[2].pixel, 12);
    const std::array<int, 8> a{-1, -1, 1, 2, -1, -1, -1, -1};
    const std::array<int, 8> b{-1, -1, -1, -1, 2, -1, 0, -1};
    const std::array<int, 8> c{1, -1, -1, -1, -1, -1, -1, 0};
    EXPECT_EQ(nodes[0].links, a);
    EXPECT_EQ(nodes[1].links, b);
    EXPECT_EQ(nodes[2].links, c);
    for (const GraphNode& node : nodes) {
        EXPECT_EQ(node.linkCount, 2);
        EXPECT_FALSE(node.used);
        EXPECT_EQ(edges.values[static_cast<size_t>(node.pixel)], kGraphPixel);
    }
    EXPECT_EQ(edges.At(4, 3), kEdgePixel);  // not connected, not taken
}

TEST(EdgeChains, AStraightLineIsOneChainFromItsEnd)
{
    WorkingPlane<uint8_t> edges(16, 8);
    for (const ChainPoint p : Row(2, 11, 3)) edges.At(p.x, p.y) = kEdgePixel;
    const std::vector<EdgeChain> chains = ChainsOf(edges);
    ASSERT_EQ(chains.size(), 1u);
    EXPECT_EQ(chains[0].points, Row(2, 11, 3));
    EXPECT_EQ(chains[0].angle, 0.0);
    for (const ChainPoint p : Row(2, 11, 3)) EXPECT_EQ(edges.At(p.x, p.y), kChainPixel);
}

TEST(EdgeChains, ChainsOfTwoPixelsAreDroppedAndThreeAreKept)
{
    WorkingPlane<uint8_t> edges = EdgesAt(12, 6, {{1, 1}, {2, 1}, {6, 3}, {7, 4}, {8, 5}});
    const std::vector<EdgeChain> chains = ChainsOf(edges);
    ASSERT_EQ(chains.size(), 1u);
    EXPECT_EQ(chains[0].points, (std::vector<ChainPoint>{{6, 3}, {7, 4}, {8, 5}}));
    EXPECT_DOUBLE_EQ(chains[0].angle, std::atan(1.0));
    EXPECT_EQ(edges.At(1, 1), kGraphPixel);
    EXPECT_EQ(edges.At(2, 1), kGraphPixel);
    EXPECT_EQ(edges.At(7, 4), kChainPixel);
}

TEST(EdgeChains, ASteepStaircaseFallingToTheRightIsPositive)
{
    // x = 10 - floor(y / 2) for y = 0 .. 9: fitted x against y with slope -40 / 82.5.
    WorkingPlane<uint8_t> edges(14, 12);
    for (int y = 0; y < 10; ++y) edges.At(10 - y / 2, y) = kEdgePixel;
    const std::vector<EdgeChain> chains = ChainsOf(edges);
    ASSERT_EQ(chains.size(), 1u);
    EXPECT_EQ(chains[0].points.size(), 10u);
    EXPECT_NEAR(chains[0].angle, std::atan(40.0 / 82.5), 1e-12);
}

TEST(EdgeChains, ABranchBecomesItsOwnChainAfterTheStraightLine)
{
    // A line along row 2 with a stub hanging down from column 5. The search starts
    // at the line's left end (the first node with one link), goes straight on past
    // the branch, and then starts again at the stub's free end; the stub stops where
    // the used line begins.
    WorkingPlane<uint8_t> edges(12, 9);
    for (const ChainPoint p : Row(0, 9, 2)) edges.At(p.x, p.y) = kEdgePixel;
    for (int y = 3; y <= 6; ++y) edges.At(5, y) = kEdgePixel;
    const std::vector<EdgeChain> chains = ChainsOf(edges);
    ASSERT_EQ(chains.size(), 2u);
    EXPECT_EQ(chains[0].points, Row(0, 9, 2));
    EXPECT_EQ(chains[1].points, (std::vector<ChainPoint>{{5, 6}, {5, 5}, {5, 4}, {5, 3}}));
    EXPECT_EQ(chains[1].angle, 0.0);
}

TEST(EdgeChains, ABentLineSplitsAtItsCorner)
{
    // Twenty pixels rising by one row every five columns, then a turn straight down:
    // the second leg cannot join the first within the tolerance.
    WorkingPlane<uint8_t> edges(30, 30);
    for (int x = 0; x < 20; ++x) edges.At(x, 5 + x / 5) = kEdgePixel;
    for (int y = 9; y < 25; ++y) edges.At(20, y) = kEdgePixel;
    const std::vector<EdgeChain> chains = ChainsOf(edges);
    ASSERT_EQ(chains.size(), 2u);
    EXPECT_NEAR(chains[0].angle, std::atan(0.2), 0.02);
    EXPECT_NEAR(chains[1].angle, 0.0, 0.02);
    EXPECT_GE(chains[0].points.size() + chains[1].points.size(), 36u);
}

TEST(EdgeChains, CountsOneUnitPerRowAndStops)
{
    WorkingPlane<uint8_t> edges(10, 7);
    std::vector<EdgeChain> chains;
    StageProgress progress({}, 0);
    ASSERT_TRUE(CollectChains(edges, chains, progress));
    EXPECT_EQ(progress.Done(), 7);
    StageProgress stopped([](int done, int) { return done < 3; }, 0);
    EXPECT_FALSE(CollectChains(edges, chains, stopped));
    EXPECT_EQ(stopped.Done(), 4);
}
