#pragma once
// Images that refuse what a filter asks of them, for the failure paths.

#include "platform/ComPtr.h"
#include "refhost/HostImage.h"

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
