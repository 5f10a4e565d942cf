// The factory table as a host sees it through the loaded module.

#include "tests/CountingHost.h"
#include "tests/LoadedModule.h"
#include "tests/TestSupport.h"
#include "tests/plugin/ListedFactories.h"

#include "platform/WideString.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

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
        const ListedFactory& row = kListedFactories[i];
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
        EXPECT_EQ(host->HeldByOthers(), kListedFactories[i].host == ListedFactory::Keeps ? 1 : 0);
        // Initializing again with the same host takes no second reference.
        EXPECT_TRUE(factory->Initialize(static_cast<IPluginHost*>(host), 0));
        EXPECT_EQ(host->HeldByOthers(), kListedFactories[i].host == ListedFactory::Keeps ? 1 : 0);
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
