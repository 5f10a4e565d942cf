#pragma once
// The dialog of a filter that works on a rectangle drawn on the host's preview (crop,
// red-eye): a thumbnail of the picture with the rectangle marked on it. The dialog
// proposes the middle quarter of the picture; the rectangle itself is dragged on the
// preview, so there are no settings to store or reload.

#include "Common/dialogs/FilterDialog.h"
#include "platform/ComPtr.h"
#include "platform/Rect.h"

#include <QSize>

class CImageStatic;

class CSelectionThumbnailDlg : public CFilterDialog {
public:
    // How the dialog looks: an optional label above the thumbnail (0: none), the
    // thumbnail's size in pixels, and the preview's rectangle tool it asks for.
    struct Layout {
        unsigned labelId;
        QSize thumbnail;
        int rectangleTool;
    };

    // Asks the preview for the rectangle tool and proposes "W/4 H/4 3W/4 3H/4" for
    // the source's size. host makes the thumbnail; without one there is none.
    CSelectionThumbnailDlg(QWidget* parent, IPluginHost* host, IInteractiveFilter* filter, IPreviewSite* site,
                           IUnknown* source, const Layout& layout);

    // Shows the thumbnail with selection (picture pixels, y from the top) marked.
    void ShowSelection(const RECT& selection);

    CImageStatic* Thumbnail() const { return m_thumbnail; }

protected:
    void StoreControls(CParamList& params) override;
    void ReloadControls(const CParamList& params) override;

private:
    void ProposeMiddleQuarter();

    CComPtr<IImage> m_source;
    // The thumbnail as made, unmarked: each selection is marked on a copy of it.
    CComPtr<IImage> m_picture;
    CImageStatic* m_thumbnail;
};
