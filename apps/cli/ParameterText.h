#pragma once
// The parameter text a filter receives, built from --format or --format-file and
// the --set pairs, which replace or add keys of that text.

#include "apps/cli/CommandLine.h"
#include "refhost/FilterSettings.h"
#include "platform/WideString.h"

#include <string>

// False with a message when the file cannot be read or the text is not made of
// KEY:VALUE lines.
bool BuildParameterList(const CommandLineOptions& options, CParamList& list, std::string& error);

// True when the options carry any parameter text at all.
bool HasParameterText(const CommandLineOptions& options);

// The text apply hands the filter and format prints. For a filter that declares its
// settings the text is checked and completed (see CheckAndComplete); for others it
// is passed on as given.
bool PrepareParameterText(const FilterEntry& entry, const CommandLineOptions& options, WString& text,
                          SettingNotes& notes, std::string& error);

// The notes on stderr, one line each, naming the filter; the defaults line only
// when the user did not ask for quiet.
void PrintSettingNotes(const FilterEntry& entry, const SettingNotes& notes, bool quiet);
