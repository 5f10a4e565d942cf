#pragma once
// The crop's dialog: a thumbnail of the picture with the rectangle to keep marked on
// it.

#include "filters/shared/selection/SelectionThumbnailDialog.h"

class CInteractiveCropDlg final : public CSelectionThumbnailDlg {
public:
    CInteractiveCropDlg(QWidget* parent, IPluginHost* host, IInteractiveFilter* filter, IPreviewSite* site,
                        IUnknown* source);
};
