#pragma once
// The loaded module's filters, listed or not, behind a host that can refuse any
// allocation: what the robustness suites share. The budget starts unlimited for
// every test and is reset at its end.

#include "tests/robustness/FaultyHost.h"

#include "platform/ComPtr.h"
#include "refhost/FilterCatalog.h"
#include "refhost/ModuleLoader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class FaultyModuleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(module.Load(BF_MODULE_PATH, error)) << error;
        host = CComPtr<CFaultyHost>::Adopt(CFaultyHost::Create());
        catalog = std::make_unique<CFilterCatalog>(module, static_cast<IPluginHost*>(host.Get()));
        HostBudget() = AllocationBudget{};
    }

    void TearDown() override
    {
        catalog.reset();
        HostBudget() = AllocationBudget{};
    }

    CModuleLoader module;
    CComPtr<CFaultyHost> host;
    std::unique_ptr<CFilterCatalog> catalog;
};
