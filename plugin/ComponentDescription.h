#pragma once
// The constant answers that describe one component to the host.

#include "platform/Unknown.h"
#include "plugin/SettingsInterfaces.h"

#include <cstdint>
#include <span>

// How a factory treats the host object that Initialize hands it.
enum class HostKeeping {
    None,               // forgets it
    Counted,            // keeps it with a reference of its own and passes it to its filters
    Uncounted,          // keeps the bare pointer, adding no reference
};

inline constexpr int kNoIcon = 0;

// Whether the enumerator hands the factory out; unlisted ones live in the module for
// hosts that know their identifiers.
enum class Listing { Listed, Unlisted };

struct ComponentDescription {
    GUID id;
    unsigned nameId;
    uint32_t flags;
    int order;
    int iconId;  // kNoIcon: GetIcon answers false
    HostKeeping keeping;
    Listing listing = Listing::Listed;
    // Every key of the filter's parameter text; empty for a filter without settings.
    std::span<const SettingDeclaration> settings = {};
    PreviewShapeUse previewShape = {};
};
