#include "filters/crop/CropDialog.h"

#include "Common/base/ImageCloning.h"
#include "Common/dialogs/ImageStatic.h"
#include "filters/shared/selection/SelectionThumbnail.h"

#include <QVBoxLayout>

namespace {

// The thumbnail's box of 148 x 100 dialog units in pixels, at the usual dialog
// font's 6 x 13 pixels per 4 x 8 units.
constexpr int kThumbnailWidth = 222;
constexpr int kThumbnailHeight = 162;

// The preview site's mouse tool for dragging a rectangle.
constexpr int kToolModeFirst = 0;
constexpr int kToolModeRectangle = 2;

} // namespace

CInteractiveCropDlg::CInteractiveCropDlg(QWidget* parent, IPluginHost* host, IInteractiveFilter* filter,
                                         IPreviewSite* site, IUnknown* source)
    : CFilterDialog(parent, filter, site), m_source(CComPtr<IImage>::Query(source, IID_IImage)),
      m_thumbnail(new CImageStatic(this))
{
    auto* layout = new QVBoxLayout(this);
    m_thumbnail->setFixedSize(kThumbnailWidth, kThumbnailHeight);
    layout->addWidget(m_thumbnail);
    if (Site() != nullptr) Site()->SetToolMode(kToolModeFirst, kToolModeRectangle);
    ProposeMiddleQuarter(Site(), m_source.Get());
    if (m_source) m_picture = MakePreviewPicture(host, m_source.Get(), kThumbnailWidth, kThumbnailHeight);
    m_thumbnail->SetImage(m_picture);
}

void CInteractiveCropDlg::ShowSelection(const RECT& selection)
{
    ShowMarkedThumbnail(m_thumbnail, m_picture.Get(), m_source.Get(), selection);
}

void CInteractiveCropDlg::StoreControls(CParamList&) {}

void CInteractiveCropDlg::ReloadControls(const CParamList&) {}
