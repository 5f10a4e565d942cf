#pragma once
// The red-eye dialog: a label and a thumbnail of the picture with the region marked.
// The region is dragged on the host's preview; there are no settings to store.

#include "Common/dialogs/FilterDialog.h"
#include "platform/ComPtr.h"
#include "platform/Rect.h"

class CImageStatic;

class CInteractiveRedEyeDlg final : public CFilterDialog {
public:
    // Switches the preview to its rectangle tool and proposes the middle quarter of
    // the picture. host makes the thumbnail; without one there is none.
    CInteractiveRedEyeDlg(QWidget* parent, IPluginHost* host, IInteractiveFilter* filter, IPreviewSite* site,
                          IUnknown* source);

    // Shows the thumbnail with region (picture pixels, y from the top) marked.
    void ShowRegion(const RECT& region);

    CImageStatic* Thumbnail() const { return m_thumbnail; }

protected:
    void StoreControls(CParamList& params) override;
    void ReloadControls(const CParamList& params) override;

private:
    CComPtr<IImage> m_source;
    // The thumbnail as made, unmarked: each region is marked on a copy of it.
    CComPtr<IImage> m_picture;
    CImageStatic* m_thumbnail;
};
