#include "filters/flip-rotate/Rot0DegreesFilter.h"

#include "Common/status/Status.h"
#include "platform/ComPtr.h"
#include "resources/StringIds.h"

CRot0DegreesFilter::CRot0DegreesFilter(IUnknown* source, IPluginHost* host)
    : CPlainFilter(source, host, IDS_PROGRESS_ROTATING)
{
}

// The input argument is ignored: this filter always copies the factory's source.
bool CRot0DegreesFilter::Apply(IUnknown*, IImage** result, IProgress* progress, IStatus** status)
{
    const char16_t* text = ProgressText();
    if (result == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    auto cloneable = CComPtr<ICloneable>::Query(Source(), IID_ICloneable);
    if (!cloneable) return ReportStatus(status, kStatusHostRefused);
    if (progress != nullptr) progress->SetText(text);

    CComPtr<IUnknown> clone;
    CComPtr<IImage> image;
    if (cloneable->Clone(clone.Receive())) image = CComPtr<IImage>::Query(clone.Get(), IID_IImage);
    if (!image) {
        if (progress != nullptr) progress->Finish(false);
        return ReportStatus(status, kStatusHostRefused);
    }
    *result = image.Detach();
    if (progress != nullptr) progress->Finish(true);
    return true;
}
