#pragma once
// The two result tables, as Markdown for people and CSV for tools.

#include "Operations.h"

#include <array>
#include <ostream>
#include <string>
#include <vector>

struct ComparisonRow {
    const Operation* operation;
    std::array<double, 3> milliseconds;  // by Side
    std::array<long, 3> kilobytes;       // peak growth by Side; -1 when not measured
    std::array<double, 2> allCores;      // ours and OpenCV, each with its default threading
    double oursSpeedUp;                  // median of paired runs: one thread over every core
};

struct ScalingRow {
    const Operation* operation;
    std::vector<double> milliseconds;  // one per picture size
    std::vector<int> runs;
};

struct PictureSize {
    int width;
    int height;
};

void WriteComparisonMarkdown(std::ostream& out, const std::vector<ComparisonRow>& rows, int runs);
void WriteComparisonCsv(std::ostream& out, const std::vector<ComparisonRow>& rows);
void WriteScalingMarkdown(std::ostream& out, const std::vector<ScalingRow>& rows,
                          const std::vector<PictureSize>& sizes, int runs);
void WriteScalingCsv(std::ostream& out, const std::vector<ScalingRow>& rows, const std::vector<PictureSize>& sizes);
