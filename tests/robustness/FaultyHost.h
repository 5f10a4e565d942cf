#pragma once
// A host that refuses the n-th thing a filter asks it to allocate (an image, a
// clone, pixels, a crop or a resized copy), refuses pictures too large for a test
// machine, and counts the images it has handed out that are still alive, so that a
// reference a filter forgets to release shows in an optimised build too.

#include "refhost/HostImage.h"
#include "refhost/PluginHost.h"

#include <cstdint>
#include <cstring>
#include <new>

// Which host call is refused; one per test process, reset before each apply.
struct AllocationBudget {
    int refuseAt = -1;  // the index of the call that is refused; -1 refuses none
    int calls = 0;
    int64_t largestPixels = 4'000'000;

    bool Grant(int64_t pixels = 0)
    {
        const bool refused = calls++ == refuseAt;
        return !refused && pixels <= largestPixels;
    }
};

inline AllocationBudget& HostBudget()
{
    static AllocationBudget budget;
    return budget;
}

class CFaultyImage final : public CHostImage {
public:
    static int& Live()
    {
        static int live = 0;
        return live;
    }

    // An image with pixels, made by the test: not counted against the budget.
    static CFaultyImage* Make(int width, int height)
    {
        auto* image = new (std::nothrow) CFaultyImage();
        if (image != nullptr && !image->CHostImage::Allocate(width, height, 32, nullptr)) {
            image->Release();
            return nullptr;
        }
        return image;
    }

    static CFaultyImage* MakeEmpty() { return new (std::nothrow) CFaultyImage(); }

    bool Allocate(int width, int height, int bitsPerPixel, IStatus** status) override
    {
        if (!HostBudget().Grant(static_cast<int64_t>(width) * height)) return false;
        return CHostImage::Allocate(width, height, bitsPerPixel, status);
    }

    bool Clone(IUnknown** clone) override
    {
        if (clone == nullptr || GetPixels() == nullptr) return false;
        if (!HostBudget().Grant(static_cast<int64_t>(Width()) * Height())) return false;
        CFaultyImage* copy = Make(Width(), Height());
        if (copy == nullptr) return false;
        std::memcpy(copy->GetPixels(), GetPixels(), static_cast<size_t>(Width()) * static_cast<size_t>(Height()) * 4);
        int horizontal = 0;
        int vertical = 0;
        GetResolution(&horizontal, &vertical);
        copy->SetResolution(horizontal, vertical);
        *clone = static_cast<IImage*>(copy);
        return true;
    }

    bool Crop(int left, int top, int right, int bottom, IUnknown** cropped) override
    {
        if (!HostBudget().Grant()) return false;
        return CHostImage::Crop(left, top, right, bottom, cropped);
    }

    bool Resize(int width, int height, IUnknown** resized, int mode, int reserved) override
    {
        if (!HostBudget().Grant(static_cast<int64_t>(width) * height)) return false;
        return CHostImage::Resize(width, height, resized, mode, reserved);
    }

private:
    CFaultyImage() { ++Live(); }
    ~CFaultyImage() override { --Live(); }
};

class CFaultyHost final : public CPluginHost {
public:
    static CFaultyHost* Create() { return new (std::nothrow) CFaultyHost(); }

    bool CreateImage(IImage** image, IUnknown* like) override
    {
        if (image == nullptr || !HostBudget().Grant()) return false;
        CFaultyImage* made = CFaultyImage::MakeEmpty();
        if (made == nullptr) return false;
        void* model = nullptr;
        if (like != nullptr && like->QueryInterface(IID_IImage, &model) == S_OK) {
            int horizontal = 0;
            int vertical = 0;
            static_cast<IImage*>(model)->GetResolution(&horizontal, &vertical);
            made->SetResolution(horizontal, vertical);
            static_cast<IImage*>(model)->Release();
        }
        *image = static_cast<IImage*>(made);
        return true;
    }

private:
    CFaultyHost() : CPluginHost(0x0409) {}
    ~CFaultyHost() override = default;
};
