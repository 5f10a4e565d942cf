#pragma once
// The module's own addition to the component interfaces: a filter factory that
// answers IFilterSettings describes every key of its filter's parameter text, the
// range the filter's dialog offers and the value it starts with. Hosts that know the
// interface use it for help, defaults and checks; others never ask for it. The
// factory also says which shape drawn on the preview its filter reads.

#include "platform/Unknown.h"

#include <cstdint>

inline constexpr GUID IID_IFilterSettings{0xB7F4E2A1, 0x5C3D, 0x4E8F, {0x9A, 0x61, 0x2D, 0x7C, 0x0E, 0x93, 0xF1, 0x54}};

enum class SettingType : int32_t {
    Integer,  // written with "%d"
    Real,     // written with "%lf"
    Page,     // text: names the page of the dialog whose settings the apply reads
    Flag,     // integer 0 or 1
};

// Where a setting's start value comes from.
enum class SettingStart : int32_t {
    Fixed,      // start (numbers) or startText (pages)
    FromPhoto,  // the dialog reads it from the photo, and the apply does the same when it is missing
};

struct SettingDeclaration {
    // The page the setting belongs to (the value of the filter's page setting that
    // selects it); null for a setting read whatever the page.
    const char16_t* page;
    // A key ending in "%03d" stands for the numbered keys it formats (X%03d: X000,
    // X001, ...); hosts fill in no start value for it.
    const char16_t* key;
    SettingType type;
    // The range the dialog offers (numbers only); an unbounded end is infinite.
    double minimum;
    double maximum;
    SettingStart startFrom;
    double start;
    const char16_t* startText;
    // For a page setting: the page names; null otherwise.
    const char16_t* const* choices;
    // One line in English, for the command line's help.
    const char16_t* description;
};

// What a filter reads from the host's preview besides its parameter text: the
// rectangle the user drags or the line the user draws, as the preview site's
// selection text "%d %d %d %d" in picture pixels with y from the top.
enum class PreviewShape : int32_t {
    None,
    Selection,  // left top right bottom
    Line,       // x1 y1 x2 y2
};

struct PreviewShapeUse {
    PreviewShape shape = PreviewShape::None;
    // Whether the filter fails without one; otherwise the shape only adds to the settings.
    bool required = false;
    // One line in English: what the shape does, for the command line's help.
    const char16_t* description = nullptr;
};

struct IFilterSettings : IUnknown {
    virtual int GetSettingCount() = 0;                               // 3
    // Null for an index outside 0 .. count - 1.
    virtual const SettingDeclaration* GetSetting(int index) = 0;     // 4
    virtual PreviewShapeUse GetPreviewShapeUse() = 0;                // 5
};
