#pragma once
// The red-eye dialog: a label and a thumbnail of the picture with the region marked.

#include "filters/shared/selection/SelectionThumbnailDialog.h"

class CInteractiveRedEyeDlg final : public CSelectionThumbnailDlg {
public:
    CInteractiveRedEyeDlg(QWidget* parent, IPluginHost* host, IInteractiveFilter* filter, IPreviewSite* site,
                          IUnknown* source);
};
