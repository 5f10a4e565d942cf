#include "filters/shared/selection/SelectionThumbnailDialog.h"

#include "Common/base/ImageCloning.h"
#include "Common/dialogs/ImageStatic.h"
#include "filters/shared/pixels/KernelBridge.h"
#include "filters/shared/selection/SelectionMarkKernel.h"
#include "platform/DialogText.h"
#include "platform/WideString.h"

#include <QLabel>
#include <QVBoxLayout>

#include <utility>

namespace {

// The first of the pair that asks the preview site for a tool.
constexpr int kToolModeFirst = 0;

} // namespace

CSelectionThumbnailDlg::CSelectionThumbnailDlg(QWidget* parent, IPluginHost* host, IInteractiveFilter* filter,
                                               IPreviewSite* site, IUnknown* source, const Layout& layout)
    : CFilterDialog(parent, filter, site), m_source(CComPtr<IImage>::Query(source, IID_IImage)),
      m_thumbnail(new CImageStatic(this))
{
    auto* column = new QVBoxLayout(this);
    if (layout.labelId != 0) column->addWidget(new QLabel(DialogText(layout.labelId), this));
    m_thumbnail->setFixedSize(layout.thumbnail);
    column->addWidget(m_thumbnail);
    if (Site() != nullptr) Site()->SetToolMode(kToolModeFirst, layout.rectangleTool);
    ProposeMiddleQuarter();
    if (m_source) {
        m_picture = MakePreviewPicture(host, m_source.Get(), layout.thumbnail.width(), layout.thumbnail.height());
    }
    m_thumbnail->SetImage(m_picture);
}

void CSelectionThumbnailDlg::ProposeMiddleQuarter()
{
    if (Site() == nullptr || !m_source) return;
    int width = 0;
    int height = 0;
    m_source->GetSize(&width, &height);
    const WString proposal = FormatWide(u"%d %d %d %d", {width / 4, height / 4, 3 * width / 4, 3 * height / 4});
    Site()->SetSelection(proposal.c_str());
}

void CSelectionThumbnailDlg::ShowSelection(const RECT& selection)
{
    if (!m_picture || !m_source) return;
    CComPtr<IImage> marked = CloneAsImage(m_picture.Get());
    const PixelRows rows = RowsOfImage(marked.Get());
    if (rows.bits == nullptr) return;
    int imageWidth = 0;
    m_source->GetSize(&imageWidth, nullptr);
    MarkSelection(rows, ScaleSelectionToThumbnail(selection, rows.width, imageWidth));
    m_thumbnail->SetImage(std::move(marked));
}

void CSelectionThumbnailDlg::StoreControls(CParamList&) {}

void CSelectionThumbnailDlg::ReloadControls(const CParamList&) {}
