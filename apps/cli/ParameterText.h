#pragma once
// The parameter text a filter receives, built from --format or --format-file and
// the --set pairs, which replace or add keys of that text.

#include "apps/cli/CommandLine.h"
#include "platform/WideString.h"

#include <string>

// False with a message when the file cannot be read or the text is not made of
// KEY:VALUE lines.
bool BuildParameterText(const CommandLineOptions& options, WString& text, std::string& error);

// True when the options carry any parameter text at all.
bool HasParameterText(const CommandLineOptions& options);
