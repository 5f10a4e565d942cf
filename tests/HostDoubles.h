#pragma once
// Images that refuse what a filter asks of them, for the failure paths.

#include "Common/status/Status.h"
#include "platform/ComPtr.h"
#include "refhost/HostImage.h"
#include "refhost/PluginHost.h"

#include <new>
#include <vector>

// An image that hides one interface from QueryInterface.
class CImageWithout final : public CHostImage {
public:
    static CImageWithout* Create(int width, int height, const GUID& hidden)
    {
        auto* image = new (std::nothrow) CImageWithout(hidden);
        if (image != nullptr) image->Allocate(width, height, 32, nullptr);
        return image;
    }

    HRESULT QueryInterface(REFIID iid, void** object) override
    {
        if (object != nullptr && iid == m_hidden) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        return CHostImage::QueryInterface(iid, object);
    }

private:
    explicit CImageWithout(const GUID& hidden) : m_hidden(hidden) {}
    GUID m_hidden;
};

// An image whose Clone answers false, or hands out a clone that lacks an interface.
class CRefusingCloneImage final : public CHostImage {
public:
    // hiddenInClone: the interface the clone will not answer; null GUID refuses Clone.
    static CRefusingCloneImage* Create(int width, int height, const GUID* hiddenInClone)
    {
        auto* image = new (std::nothrow) CRefusingCloneImage(hiddenInClone);
        if (image != nullptr) image->Allocate(width, height, 32, nullptr);
        return image;
    }

    bool Clone(IUnknown** clone) override
    {
        if (m_hiddenInClone == nullptr) return false;
        *clone = static_cast<IImage*>(CImageWithout::Create(Width(), Height(), *m_hiddenInClone));
        return true;
    }

private:
    explicit CRefusingCloneImage(const GUID* hiddenInClone) : m_hiddenInClone(hiddenInClone) {}
    const GUID* m_hiddenInClone;
};

// One source for each way the copy a filter works on can be refused: no ICloneable,
// Clone answering false, a clone without IImage, a clone without IBitmap.
inline std::vector<CComPtr<CHostImage>> CloneRefusingSources(int width, int height)
{
    std::vector<CComPtr<CHostImage>> sources;
    sources.push_back(CComPtr<CHostImage>::Adopt(CImageWithout::Create(width, height, IID_ICloneable)));
    sources.push_back(CComPtr<CHostImage>::Adopt(CRefusingCloneImage::Create(width, height, nullptr)));
    sources.push_back(CComPtr<CHostImage>::Adopt(CRefusingCloneImage::Create(width, height, &IID_IImage)));
    sources.push_back(CComPtr<CHostImage>::Adopt(CRefusingCloneImage::Create(width, height, &IID_IBitmap)));
    return sources;
}

// A host whose image making fails in one of the ways an apply must survive: no image,
// an image without IBitmap, or one that refuses to be sized with a status of its own
// (which must not reach the filter's caller).
class CRefusingHost final : public CPluginHost {
public:
    enum class Refusal { CreateImage, NoBitmap, Allocate };

    explicit CRefusingHost(Refusal refusal) : CPluginHost(0x0409), m_refusal(refusal) {}

    bool CreateImage(IImage** image, IUnknown*) override
    {
        switch (m_refusal) {
        case Refusal::CreateImage: return false;
        case Refusal::NoBitmap: *image = CImageWithout::Create(1, 1, IID_IBitmap); return true;
        case Refusal::Allocate: *image = new CUnallocatableImage(); return true;
        }
        return false;
    }

private:
    class CUnallocatableImage final : public CHostImage {
    public:
        bool Allocate(int, int, int, IStatus** status) override { return ReportStatus(status, kStatusOutOfMemory); }
    };

    Refusal m_refusal;
};
