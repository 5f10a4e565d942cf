#include "filters/red-eye/RedEyeDialog.h"

#include "Common/dialogs/ImageStatic.h"
#include "filters/shared/selection/SelectionThumbnail.h"
#include "platform/DialogText.h"
#include "resources/StringIds.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {

// The picture's box of 143 x 200 dialog units in pixels, at the usual dialog font's
// 6 x 13 pixels per 4 x 8 units.
constexpr int kThumbnailWidth = 214;
constexpr int kThumbnailHeight = 325;

// The pair that asks the preview site for its rectangle tool.
constexpr int kToolModeFirst = 0;
constexpr int kToolModeRedEyeRectangle = 4;

} // namespace

CInteractiveRedEyeDlg::CInteractiveRedEyeDlg(QWidget* parent, IPluginHost* host, IInteractiveFilter* filter,
                                             IPreviewSite* site, IUnknown* source)
    : CFilterDialog(parent, filter, site), m_source(CComPtr<IImage>::Query(source, IID_IImage)),
      m_thumbnail(new CImageStatic(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(DialogText(IDS_DLG5069_AREA_LABEL), this));
    m_thumbnail->setFixedSize(kThumbnailWidth, kThumbnailHeight);
    layout->addWidget(m_thumbnail);
    if (Site() != nullptr) Site()->SetToolMode(kToolModeFirst, kToolModeRedEyeRectangle);
    ProposeMiddleQuarter(Site(), m_source.Get());
    if (m_source) m_picture = MakePreviewPicture(host, m_source.Get(), kThumbnailWidth, kThumbnailHeight);
    m_thumbnail->SetImage(m_picture);
}

// The region is marked the way the crop marks what it keeps: a frame, and the rest
// of the thumbnail dimmed.
void CInteractiveRedEyeDlg::ShowRegion(const RECT& region)
{
    ShowMarkedThumbnail(m_thumbnail, m_picture.Get(), m_source.Get(), region);
}

void CInteractiveRedEyeDlg::StoreControls(CParamList&) {}

void CInteractiveRedEyeDlg::ReloadControls(const CParamList&) {}
