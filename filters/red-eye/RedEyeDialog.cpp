#include "filters/red-eye/RedEyeDialog.h"

#include "resources/StringIds.h"

namespace {

// The picture's box of 143 x 200 dialog units in pixels, at the usual dialog font's
// 6 x 13 pixels per 4 x 8 units, and the preview's tool for a red-eye rectangle.
const CSelectionThumbnailDlg::Layout kLayout{IDS_DLG5069_AREA_LABEL, QSize(214, 325), 4};

} // namespace

CInteractiveRedEyeDlg::CInteractiveRedEyeDlg(QWidget* parent, IPluginHost* host, IInteractiveFilter* filter,
                                             IPreviewSite* site, IUnknown* source)
    : CSelectionThumbnailDlg(parent, host, filter, site, source, kLayout)
{
}
