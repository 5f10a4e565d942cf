#pragma once
// Straight chains of edge pixels: each graph of connected edge pixels is walked from
// its line ends, and a chain grows while a line still fits its pixels within a
// tolerance that widens with its length. Each chain that is kept gives its pixels and
// the angle of its line.

#include "filters/shared/straightening/LineFit.h"
#include "filters/shared/straightening/PixelGraph.h"
#include "filters/shared/straightening/StageProgress.h"
#include "filters/shared/straightening/WorkingPlane.h"

#include <cstdint>
#include <vector>

struct EdgeChain {
    std::vector<ChainPoint> points;  // in order along the chain
    double angle = 0.0;              // of its fitted line, radians
};

// Extracts the chains of one graph, appending the kept ones to chains and marking
// their pixels kChainPixel in edges.
void ExtractChains(std::vector<GraphNode>& nodes, WorkingPlane<uint8_t>& edges, std::vector<EdgeChain>& chains);

// Scans the binarised edge map in raster order and extracts the chains of the graph
// around each edge pixel not yet taken. Counts one unit per row; false when stopped.
bool CollectChains(WorkingPlane<uint8_t>& edges, std::vector<EdgeChain>& chains, StageProgress& progress);
