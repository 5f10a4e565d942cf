#pragma once
// The crop's dialog: a thumbnail of the picture with the rectangle to keep marked on
// it. The rectangle itself is dragged on the host's preview; the dialog has no
// settings to store or reload.

#include "Common/dialogs/FilterDialog.h"
#include "platform/ComPtr.h"
#include "platform/Rect.h"

class CImageStatic;

class CInteractiveCropDlg final : public CFilterDialog {
public:
    // Switches the preview to rectangle selection and proposes the middle half of
    // the picture. host makes the thumbnail; without one there is none.
    CInteractiveCropDlg(QWidget* parent, IPluginHost* host, IInteractiveFilter* filter, IPreviewSite* site,
                        IUnknown* source);

    // Shows the thumbnail with selection (picture pixels, y from the top) marked.
    void ShowSelection(const RECT& selection);

    CImageStatic* Thumbnail() const { return m_thumbnail; }

protected:
    void StoreControls(CParamList& params) override;
    void ReloadControls(const CParamList& params) override;

private:
    CComPtr<IImage> m_source;
    // The thumbnail as made, unmarked: each selection is marked on a copy of it.
    CComPtr<IImage> m_picture;
    CImageStatic* m_thumbnail;
};
