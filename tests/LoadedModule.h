#pragma once
// The built module, loaded once per test process the way a host loads it.

#include "plugin/ComponentInterfaces.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <vector>

inline IComponent* LoadedModulePrimary()
{
    static IComponent* primary = [] {
        IComponent* component = nullptr;
        void* handle = dlopen(BF_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) return component;
        auto entry = reinterpret_cast<PrimaryComponentEntry>(dlsym(handle, kPrimaryComponentSymbol));
        if (entry != nullptr) entry(&component);
        return component;
    }();
    return primary;
}

inline IComponentEnum* LoadedModuleEnumerator()
{
    IComponent* primary = LoadedModulePrimary();
    void* enumerator = nullptr;
    if (primary == nullptr || primary->QueryInterface(IID_IComponentEnum, &enumerator) != S_OK) return nullptr;
    return static_cast<IComponentEnum*>(enumerator);  // static object: no reference to give back
}

inline IFilterFactory* LoadedModuleFactory(int index)
{
    IComponent* component = nullptr;
    IComponentEnum* enumerator = LoadedModuleEnumerator();
    if (enumerator == nullptr || !enumerator->GetAt(index, &component)) return nullptr;
    void* factory = nullptr;
    if (component->QueryInterface(IID_IFilterFactory, &factory) != S_OK) return nullptr;
    return static_cast<IFilterFactory*>(factory);
}
