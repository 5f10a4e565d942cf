#pragma once
// Wall-clock times of trials and the resident memory one apply adds.

#include "Operations.h"

#include <string>
#include <vector>

// Milliseconds of one apply; the reset before it is not counted.
double TimeOnce(const Trial& trial);

double MedianOf(std::vector<double> values);

// Run in a fresh process: makes the trial, runs it once and answers how many
// kilobytes the peak resident set grew beyond what it was just before.
long PeakGrowthKilobytes(const std::function<Trial()>& prepare);

// Starts program with arguments and reads the number it prints; -1 when it fails.
long NumberFromChild(const std::string& program, const std::vector<std::string>& arguments);
