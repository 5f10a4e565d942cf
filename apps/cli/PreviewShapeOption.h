#pragma once
// --selection and --line: the rectangle or line a user would draw on the editor's
// preview, handed to the filter through a preview site as the editor's mouse tools do.

#include "apps/cli/CommandLine.h"
#include "refhost/FilterCatalog.h"

// False with a message when the options give a shape the filter does not read.
bool CheckPreviewShapeOptions(const FilterEntry& entry, const CommandLineOptions& options, std::string& error);

// Hands the shape the options give (if any) to filter on a preview site of its own,
// which the filter keeps until it is released, and lets the filter read it.
void HandPreviewShape(IFilter* filter, const CommandLineOptions& options);

// What to tell a user whose filter needs a shape the options do not give; empty
// when none is missing.
std::string MissingPreviewShapeAdvice(const FilterEntry& entry, const CommandLineOptions& options);

// The option that gives a filter its shape, with its operands: "--line X1,Y1,X2,Y2".
std::string PreviewShapeOptionName(PreviewShape shape);
