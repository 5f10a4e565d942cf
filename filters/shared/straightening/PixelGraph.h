#pragma once
// The 8-connected graph of edge pixels around one seed, in which the chain search
// grows its straight chains.

#include "filters/shared/straightening/WorkingPlane.h"

#include <array>
#include <cstdint>
#include <vector>

// Link slots, clockwise from straight up (row - 1); slot d and (d + 4) % 8 are
// opposite.
inline constexpr int kLinkSlots = 8;
inline constexpr std::array<int, kLinkSlots> kSlotColumnStep{0, 1, 1, 1, 0, -1, -1, -1};
inline constexpr std::array<int, kLinkSlots> kSlotRowStep{-1, -1, 0, 1, 1, 1, 0, -1};
inline constexpr int kNoLink = -1;

constexpr int OppositeSlot(int slot)
{
    return (slot + 4) % kLinkSlots;
}

struct GraphNode {
    int pixel = 0;  // row * width + column
    // Node numbers of the neighbours; kNoLink, or -2 - node while a growing chain has
    // consumed the link.
    std::array<int, kLinkSlots> links{kNoLink, kNoLink, kNoLink, kNoLink, kNoLink, kNoLink, kNoLink, kNoLink};
    int linkCount = 0;  // as built; consuming a link does not lower it
    bool used = false;
};

// Breadth first from the seed (an edge pixel of value kEdgePixel): every non-zero
// neighbour of a node becomes a link, in slot order, and every neighbour still
// kEdgePixel becomes a node of its own, marked kGraphPixel. Nodes are numbered in the
// order they are reached. nodeOfPixel (one entry per pixel) is where pixels look up
// their node numbers.
std::vector<GraphNode> BuildPixelGraph(WorkingPlane<uint8_t>& edges, int seed, std::vector<int>& nodeOfPixel);
