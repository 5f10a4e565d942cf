#pragma once
// The filters a loaded module offers, as a host presents them: menu path, kind,
// flags, order and icon, and the look-up of a filter by what a user types.

#include "plugin/ComponentInterfaces.h"
#include "plugin/SettingsInterfaces.h"

#include <string>
#include <vector>

class CModuleLoader;

enum class FilterKind {
    Plain,        // applies at once
    Interactive,  // has settings and a dialog
    Unavailable,  // the module lists it but cannot create it
};

// One key of a filter's parameter text as its factory declares it, copied out of the
// module so that it outlives no reference and needs no wide strings.
struct FilterSetting {
    std::string page;  // empty for a setting read whatever the page
    std::string key;
    SettingType type = SettingType::Integer;
    double minimum = 0.0;  // the dialog's range; an unbounded end is infinite
    double maximum = 0.0;
    bool fromPhoto = false;  // no start value of its own: the filter takes the photo's
    double start = 0.0;
    std::string startText;             // a page setting's start
    std::vector<std::string> choices;  // a page setting's pages
    std::string description;
};

// The shape drawn on the preview that a filter reads, copied out like its settings.
struct FilterPreviewShape {
    PreviewShape shape = PreviewShape::None;
    bool required = false;
    std::string description;
};

struct FilterEntry {
    int index = 0;
    IFilterFactory* factory = nullptr;
    std::string menuPath;  // UTF-8, sub-menus separated by a backslash
    FilterKind kind = FilterKind::Unavailable;
    uint32_t flags = 0;
    int order = 0;
    std::string iconPath;  // empty when the filter has no icon
    int iconIndex = -1;
    // Empty when the factory does not declare its settings.
    std::vector<FilterSetting> settings;
    FilterPreviewShape previewShape;
    // False for a factory the module hands out beside its enumerator: such entries
    // follow the listed ones, their indexes going on from the last listed index.
    bool listed = true;
};

class CFilterCatalog {
public:
    // Initializes every listed factory with host, as a host does before it builds
    // its menus, and describes them; then the same for the factories the module's
    // primary component hands out beside the enumerator, when it answers for them.
    CFilterCatalog(const CModuleLoader& module, IPluginHost* host);
    ~CFilterCatalog();
    CFilterCatalog(const CFilterCatalog&) = delete;
    CFilterCatalog& operator=(const CFilterCatalog&) = delete;

    const std::vector<FilterEntry>& Entries() const { return m_entries; }

    // A filter named by its index, its menu path or the last part of the path
    // (letter case ignored). Several answers mean the name was ambiguous.
    std::vector<const FilterEntry*> Find(const std::string& name) const;

private:
    void Add(IFilterFactory* factory, IPluginHost* host, bool listed);

    std::vector<FilterEntry> m_entries;
};

// "plain", "interactive" or "unavailable".
const char* FilterKindName(FilterKind kind);
