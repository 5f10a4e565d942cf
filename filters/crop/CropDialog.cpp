#include "filters/crop/CropDialog.h"

namespace {

// The thumbnail's box of 148 x 100 dialog units in pixels, at the usual dialog
// font's 6 x 13 pixels per 4 x 8 units, and the preview's tool for a crop rectangle.
const CSelectionThumbnailDlg::Layout kLayout{0, QSize(222, 162), 2};

} // namespace

CInteractiveCropDlg::CInteractiveCropDlg(QWidget* parent, IPluginHost* host, IInteractiveFilter* filter,
                                         IPreviewSite* site, IUnknown* source)
    : CSelectionThumbnailDlg(parent, host, filter, site, source, kLayout)
{
}
