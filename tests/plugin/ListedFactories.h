#pragma once
// The module's factories in the enumerator's order as a host sees them, written out
// from the product's table, not from the code.

#include <cstdint>

struct ListedFactory {
    const char* id;  // registry form
    const char16_t* name;  // the menu path
    uint32_t flags;
    int order;
    bool hasIcon;
    bool interactive;
    enum { Forgets, Keeps, KeepsUncounted } host;  // what Initialize does with the host
};

inline constexpr int kListedFactoryCount = 20;
inline constexpr int kRotate0Index = 17;

inline constexpr ListedFactory kListedFactories[kListedFactoryCount] = {
    {"DA1CAF9D-236E-42F3-BBA6-5C7C8BB9CE6A", u"Rotate\\Flip Horizontal", 0x0, 500, true, false, ListedFactory::Forgets},
    {"B9A1716B-1F0B-4279-861E-C1F815B5B6FD", u"Rotate\\Flip Vertical", 0x0, 500, true, false, ListedFactory::Forgets},
    {"D5C7E20D-2C17-46A6-93CE-5642AC90B680", u"Color\\Invert", 0x10000, 500, true, true, ListedFactory::Forgets},
    {"D731EB6D-C454-48B6-AC62-88E6097C7FEE", u"Rotate\\Rotate 90 Degrees Clockwise", 0x1, 500, false, false, ListedFactory::Keeps},
    {"AB60E516-5012-4D00-B0FB-76A3F79973AB", u"Rotate\\Rotate 90 Degrees Counterclockwise", 0x1, 500, false, false, ListedFactory::Keeps},
    {"29EF5003-5611-493D-8587-CB51A9E6BE02", u"Rotate", 0x30000, 800, true, true, ListedFactory::Keeps},
    {"D5609EE0-DF5E-4EF6-9294-AF590F049E0C", u"Color\\Color Balance", 0x30000, 200, true, true, ListedFactory::Forgets},
    {"37F54C6C-84C1-453F-BA55-4C1649FF859C", u"Color\\Exposure", 0x30000, 100, true, true, ListedFactory::Forgets},
    {"ACF1912D-71EE-4A7E-9A72-D98D4B85EC00", u"Lens Distort", 0x30000, 400, true, true, ListedFactory::Keeps},
    {"C95C669D-0851-4C5E-A9C1-AD08C7BA1EE1", u"Sharpen", 0x70000, 600, true, true, ListedFactory::Keeps},
    {"AA7E9423-C808-4CD1-B4AB-D302D18CE1CE", u"Crop", 0x130000, 300, true, true, ListedFactory::Keeps},
    {"90B2B731-CF37-48B9-BA88-EEBA8F80408B", u"Noise", 0x270000, 501, true, true, ListedFactory::Keeps},
    {"7BB73AC6-CF33-4096-8CE3-1F5080983B12", u"Brightness and Contrast", 0x30000, 500, true, true, ListedFactory::Keeps},
    {"4376CCF1-A9A4-4DBB-AF54-AD7BD0C93EED", u"Photo Filters\\Vignetting", 0x0, 500, true, false, ListedFactory::Keeps},
    {"52674F7A-8AC2-48E9-91DA-624B89A2A8B1", u"Rotate\\Rotate 180 Degrees", 0x1, 500, false, false, ListedFactory::Keeps},
    {"9FA651D2-362D-45F6-B552-632BCCC0F170", u"Hot Pixel Fixer", 0x70000, 900, true, true, ListedFactory::Keeps},
    {"8553A6A5-08C9-4F94-B082-4589B155A727", u"Autofix Image", 0x2B0000, 50, true, true, ListedFactory::KeepsUncounted},
    {"82761B07-AF3F-43E8-9DD4-5AF8AFA13D2A", u"Rotate\\Rotate 0 Degrees", 0x1, 500, false, false, ListedFactory::Keeps},
    {"2AF2E688-63D6-4294-BD2F-0A630393D128", u"Resize", 0x130000, 250, true, true, ListedFactory::Keeps},
    {"C444A15A-0090-4F2A-AF09-54D328AFDAE8", u"Median", 0x50000, 350, true, true, ListedFactory::Keeps},
};
