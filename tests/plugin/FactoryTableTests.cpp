// The factory table as a host sees it through the loaded module.

#include "tests/CountingHost.h"
#include "tests/LoadedModule.h"
#include "tests/TestSupport.h"

#include "platform/WideString.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

struct ExpectedFactory {
    const char* id;  // registry form
    const char16_t* name;
    uint32_t flags;
    int order;
    bool hasIcon;
    enum { Forgets, Keeps, KeepsUncounted } host;
};

// Written out from the product's table, not from the code.
const ExpectedFactory kTable[20] = {
    {"DA1CAF9D-236E-42F3-BBA6-5C7C8BB9CE6A", u"Rotate\\Flip Horizontal", 0x0, 500, true, ExpectedFactory::Forgets},
    {"B9A1716B-1F0B-4279-861E-C1F815B5B6FD", u"Rotate\\Flip Vertical", 0x0, 500, true, ExpectedFactory::Forgets},
    {"D5C7E20D-2C17-46A6-93CE-5642AC90B680", u"Color\\Invert", 0x10000, 500, true, ExpectedFactory::Forgets},
    {"D731EB6D-C454-48B6-AC62-88E6097C7FEE", u"Rotate\\Rotate 90 Degrees Clockwise", 0x1, 500, false, ExpectedFactory::Keeps},
    {"AB60E516-5012-4D00-B0FB-76A3F79973AB", u"Rotate\\Rotate 90 Degrees Counterclockwise", 0x1, 500, false, ExpectedFactory::Keeps},
    {"29EF5003-5611-493D-8587-CB51A9E6BE02", u"Rotate", 0x30000, 800, true, ExpectedFactory::Keeps},
    {"D5609EE0-DF5E-4EF6-9294-AF590F049E0C", u"Color\\Color Balance", 0x30000, 200, true, ExpectedFactory::Forgets},
    {"37F54C6C-84C1-453F-BA55-4C1649FF859C", u"Color\\Exposure", 0x30000, 100, true, ExpectedFactory::Forgets},
    {"ACF1912D-71EE-4A7E-9A72-D98D4B85EC00", u"Lens Distort", 0x30000, 400, true, ExpectedFactory::Keeps},
    {"C95C669D-0851-4C5E-A9C1-AD08C7BA1EE1", u"Sharpen", 0x70000, 600, true, ExpectedFactory::Keeps},
    {"AA7E9423-C808-4CD1-B4AB-D302D18CE1CE", u"Crop", 0x130000, 300, true, ExpectedFactory::Keeps},
    {"90B2B731-CF37-48B9-BA88-EEBA8F80408B", u"Noise", 0x270000, 501, true, ExpectedFactory::Keeps},
    {"7BB73AC6-CF33-4096-8CE3-1F5080983B12", u"Brightness and Contrast", 0x30000, 500, true, ExpectedFactory::Keeps},
    {"4376CCF1-A9A4-4DBB-AF54-AD7BD0C93EED", u"Photo Filters\\Vignetting", 0x0, 500, true, ExpectedFactory::Keeps},
    {"52674F7A-8AC2-48E9-91DA-624B89A2A8B1", u"Rotate\\Rotate 180 Degrees", 0x1, 500, false, ExpectedFactory::Keeps},
    {"9FA651D2-362D-45F6-B552-632BCCC0F170", u"Hot Pixel Fixer", 0x70000, 900, true, ExpectedFactory::Keeps},
    {"8553A6A5-08C9-4F94-B082-4589B155A727", u"Autofix Image", 0x2B0000, 50, true, ExpectedFactory::KeepsUncounted},
    {"82761B07-AF3F-43E8-9DD4-5AF8AFA13D2A", u"Rotate\\Rotate 0 Degrees", 0x1, 500, false, ExpectedFactory::Keeps},
    {"2AF2E688-63D6-4294-BD2F-0A630393D128", u"Resize", 0x130000, 250, true, ExpectedFactory::Keeps},
    {"C444A15A-0090-4F2A-AF09-54D328AFDAE8", u"Median", 0x50000, 350, true, ExpectedFactory::Keeps},
};

std::string RegistryForm(const GUID& id)
{
    char text[40];
    std::snprintf(text, sizeof text, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", id.Data1, id.Data2, id.Data3,
                  id.Data4[0], id.Data4[1], id.Data4[2], id.Data4[3], id.Data4[4], id.Data4[5], id.Data4[6],
                  id.Data4[7]);
    return text;
}

class FactoryTable : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(LoadedModuleEnumerator(), nullptr) << "cannot load " << BF_MODULE_PATH; }
};

} // namespace

TEST_F(FactoryTable, EntryPointHandsOutTheEnumerator)
{
    IComponent* primary = LoadedModulePrimary();
    EXPECT_EQ(RegistryForm(*primary->GetID()), "A88B5BD4-B70C-4FAE-BFB0-D544ABCF0B00");
    EXPECT_EQ(WString(primary->GetName()), u"Basic filters enumerator");
    EXPECT_EQ(primary->GetType(), 1);
    EXPECT_EQ(primary->GetFlags(), 0u);
    EXPECT_EQ(primary->GetOrder(), 500);
    char16_t path[1024];
    int index = -7;
    EXPECT_FALSE(primary->GetIcon(path, 1024, &index));
    EXPECT_EQ(index, -7);
    EXPECT_TRUE(primary->Initialize(nullptr, 0));
    EXPECT_TRUE(primary->Uninitialize(0));
    EXPECT_EQ(LoadedModuleEnumerator()->GetCount(), 20);
}

TEST_F(FactoryTable, EveryRowAsListed)
{
    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        IFilterFactory* factory = LoadedModuleFactory(i);
        ASSERT_NE(factory, nullptr);
        const ExpectedFactory& row = kTable[i];
        EXPECT_EQ(RegistryForm(*factory->GetID()), row.id);
        EXPECT_EQ(WString(factory->GetName()), row.name);
        EXPECT_EQ(factory->GetType(), 4);
        EXPECT_EQ(factory->GetFlags(), row.flags);
        EXPECT_EQ(factory->GetOrder(), row.order);
        char16_t path[1024];
        int index = -1;
        EXPECT_EQ(factory->GetIcon(path, 1024, &index), row.hasIcon);
        if (row.hasIcon) {
            EXPECT_GE(index, 0);
        }
    }
}

TEST_F(FactoryTable, StaticObjectsIgnoreReferenceCounting)
{
    IComponent* primary = LoadedModulePrimary();
    IFilterFactory* factory = LoadedModuleFactory(0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(primary->AddRef(), 1u);
        EXPECT_EQ(primary->Release(), 1u);
        EXPECT_EQ(factory->AddRef(), 1u);
        EXPECT_EQ(factory->Release(), 1u);
    }
}

TEST_F(FactoryTable, GetAtOutsideTheRangeLeavesTheOutPointer)
{
    IComponentEnum* enumerator = LoadedModuleEnumerator();
    auto* marker = reinterpret_cast<IComponent*>(0x1234);
    IComponent* component = marker;
    EXPECT_FALSE(enumerator->GetAt(20, &component));
    EXPECT_FALSE(enumerator->GetAt(-1, &component));
    EXPECT_EQ(component, marker);
}

TEST_F(FactoryTable, QueryInterfaceRules)
{
    IFilterFactory* factory = LoadedModuleFactory(5);
    EXPECT_EQ(factory->QueryInterface(IID_IComponent, nullptr), E_INVALIDARG);
    void* object = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(factory->QueryInterface(IID_IComponentEnum, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    for (const GUID& iid : {IID_IUnknown, IID_IComponent, IID_IFilterFactory}) {
        ASSERT_EQ(factory->QueryInterface(iid, &object), S_OK);
        EXPECT_EQ(object, static_cast<void*>(factory)) << "all parts are the main part";
    }
    // The enumerator answers its list with a part of its own.
    IComponent* primary = LoadedModulePrimary();
    ASSERT_EQ(primary->QueryInterface(IID_IComponentEnum, &object), S_OK);
    EXPECT_NE(object, static_cast<void*>(primary));
    EXPECT_EQ(primary->QueryInterface(IID_IFilterFactory, &object), E_NOINTERFACE);
}

TEST_F(FactoryTable, HostObjectsAreKeptAsListed)
{
    auto* host = new CCountingHost(0x0409);
    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        IFilterFactory* factory = LoadedModuleFactory(i);
        EXPECT_TRUE(factory->Initialize(static_cast<IPluginHost*>(host), 0));
        EXPECT_EQ(host->HeldByOthers(), kTable[i].host == ExpectedFactory::Keeps ? 1 : 0);
        // Initializing again with the same host takes no second reference.
        EXPECT_TRUE(factory->Initialize(static_cast<IPluginHost*>(host), 0));
        EXPECT_EQ(host->HeldByOthers(), kTable[i].host == ExpectedFactory::Keeps ? 1 : 0);
        EXPECT_TRUE(factory->Uninitialize(0));
        EXPECT_EQ(host->HeldByOthers(), 0);
    }
    host->Release();
}

TEST_F(FactoryTable, InitializeAcceptsAnyHost)
{
    auto* mute = new CCountingHost(0x0409);
    mute->hideLanguage = true;
    for (int i = 0; i < 20; ++i) {
        IFilterFactory* factory = LoadedModuleFactory(i);
        EXPECT_TRUE(factory->Initialize(nullptr, 0));
        EXPECT_TRUE(factory->Initialize(static_cast<IPluginHost*>(mute), 0));
        EXPECT_TRUE(factory->Uninitialize(0));
    }
    EXPECT_EQ(mute->HeldByOthers(), 0);
    mute->Release();
}

TEST_F(FactoryTable, CreateFilterWithoutSourceOrOutPointer)
{
    auto source = MakeImage(2, 2, DistinctPixel);
    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        IFilterFactory* factory = LoadedModuleFactory(i);
        IFilter* filter = nullptr;
        IStatus* status = nullptr;
        EXPECT_FALSE(factory->CreateFilter(nullptr, &filter, &status));
        EXPECT_EQ(filter, nullptr);
        ASSERT_NE(status, nullptr);
        EXPECT_EQ(status->GetCode(), 5);
        status->Release();
        status = nullptr;
        EXPECT_FALSE(factory->CreateFilter(static_cast<IImage*>(source.Get()), nullptr, &status));
        ASSERT_NE(status, nullptr);
        EXPECT_EQ(status->GetCode(), 5);
        status->Release();
        EXPECT_FALSE(factory->CreateFilter(nullptr, nullptr, nullptr));
    }
    EXPECT_EQ(RefCountOf(static_cast<IImage*>(source.Get())), 1u) << "nothing kept a reference on the source";
}

TEST_F(FactoryTable, CreatedFiltersHoldTheirSourceAndHost)
{
    auto* host = new CCountingHost(0x0409);
    auto source = MakeImage(2, 2, DistinctPixel);
    IFilterFactory* rot0 = LoadedModuleFactory(17);
    rot0->Initialize(static_cast<IPluginHost*>(host), 0);
    IFilter* filter = nullptr;
    ASSERT_TRUE(rot0->CreateFilter(static_cast<IImage*>(source.Get()), &filter, nullptr));
    EXPECT_EQ(RefCountOf(filter), 1u);
    EXPECT_EQ(RefCountOf(static_cast<IImage*>(source.Get())), 2u);
    EXPECT_EQ(host->HeldByOthers(), 2);
    // A filter outlives the factory's host reference.
    rot0->Uninitialize(0);
    EXPECT_EQ(host->HeldByOthers(), 1);
    filter->Release();
    EXPECT_EQ(host->HeldByOthers(), 0);
    EXPECT_EQ(RefCountOf(static_cast<IImage*>(source.Get())), 1u);
    host->Release();
}
