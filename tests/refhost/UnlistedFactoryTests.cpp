// The factories the enumerator leaves out, reached the way a host reaches them: the
// loaded module's primary component answers for them beside its enumerator, and the
// reference host's catalog adds them after its twenty. That the enumerator's twenty
// stay as they were is FactoryTable.EveryRowAsListed.

#include "tests/LoadedModule.h"

#include "platform/ComPtr.h"
#include "plugin/UnlistedInterfaces.h"
#include "refhost/FilterCatalog.h"
#include "refhost/ModuleLoader.h"
#include "refhost/PluginHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr GUID kRedEyeId{0x3BDC00C1, 0x6399, 0x4927, {0x88, 0x72, 0xDF, 0x74, 0x62, 0x3C, 0x19, 0x60}};
constexpr GUID kFramesId{0x5A75AE63, 0x401C, 0x4197, {0xAF, 0x8B, 0x37, 0x8F, 0x7C, 0xF4, 0xE6, 0xA9}};
constexpr int kListedCount = 20;

IUnlistedFactories* LoadedUnlisted()
{
    void* object = nullptr;
    if (LoadedModulePrimary()->QueryInterface(IID_IUnlistedFactories, &object) != S_OK) return nullptr;
    return static_cast<IUnlistedFactories*>(object);
}

bool Contains(const std::vector<GUID>& ids, const GUID& id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

} // namespace

TEST(UnlistedFactories, ThePrimaryComponentHandsOutRedEyeAndFramesAsFilterFactories)
{
    IUnlistedFactories* unlisted = LoadedUnlisted();
    ASSERT_NE(unlisted, nullptr);
    ASSERT_EQ(unlisted->GetUnlistedCount(), 2);
    std::vector<GUID> ids;
    for (int i = 0; i < 2; ++i) {
        IComponent* component = nullptr;
        ASSERT_TRUE(unlisted->GetUnlistedAt(i, &component));
        ASSERT_NE(component, nullptr);
        EXPECT_EQ(component->GetType(), kComponentTypeFilterFactory);
        void* factory = nullptr;
        EXPECT_EQ(component->QueryInterface(IID_IFilterFactory, &factory), S_OK);
        ids.push_back(*component->GetID());
    }
    EXPECT_TRUE(Contains(ids, kRedEyeId));
    EXPECT_TRUE(Contains(ids, kFramesId));

    auto* marker = reinterpret_cast<IComponent*>(0x1234);
    IComponent* component = marker;
    EXPECT_FALSE(unlisted->GetUnlistedAt(2, &component));
    EXPECT_FALSE(unlisted->GetUnlistedAt(-1, &component));
    EXPECT_EQ(component, marker);
    EXPECT_FALSE(unlisted->GetUnlistedAt(0, nullptr));

    // The interface belongs to the primary component only.
    void* object = nullptr;
    EXPECT_EQ(LoadedModuleFactory(0)->QueryInterface(IID_IUnlistedFactories, &object), E_NOINTERFACE);
}

TEST(UnlistedFactories, TheCatalogAddsThemAfterTheListedOnesAndMarksThem)
{
    CModuleLoader module;
    std::string error;
    ASSERT_TRUE(module.Load(BF_MODULE_PATH, error)) << error;
    ASSERT_EQ(module.Factories().size(), static_cast<size_t>(kListedCount)) << "the loader keeps to the enumerator";
    auto host = CComPtr<CPluginHost>::Adopt(CPluginHost::Create(0x0409));
    const CFilterCatalog catalog(module, static_cast<IPluginHost*>(host.Get()));
    const auto& entries = catalog.Entries();
    ASSERT_EQ(entries.size(), static_cast<size_t>(kListedCount + 2));
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].index, static_cast<int>(i));
        EXPECT_EQ(entries[i].listed, i < static_cast<size_t>(kListedCount)) << entries[i].menuPath;
        if (i < static_cast<size_t>(kListedCount)) {
            EXPECT_EQ(entries[i].factory, module.Factories()[i]);
        }
    }

    const auto redEye = catalog.Find("red eye reduction");
    ASSERT_EQ(redEye.size(), 1u);
    EXPECT_FALSE(redEye.front()->listed);
    EXPECT_EQ(*redEye.front()->factory->GetID(), kRedEyeId);
    EXPECT_EQ(redEye.front()->kind, FilterKind::Interactive);
    EXPECT_EQ(redEye.front()->previewShape.shape, PreviewShape::Selection);
    EXPECT_TRUE(redEye.front()->previewShape.required);
    EXPECT_TRUE(redEye.front()->settings.empty());
    EXPECT_EQ(catalog.Find(std::to_string(redEye.front()->index)).front(), redEye.front()) << "by its index";

    const auto frames = catalog.Find("Frames");
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_FALSE(frames.front()->listed);
    EXPECT_EQ(*frames.front()->factory->GetID(), kFramesId);
}
