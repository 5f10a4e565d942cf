#include "filters/shared/selection/SelectionThumbnail.h"

#include "Common/base/ImageCloning.h"
#include "Common/dialogs/ImageStatic.h"
#include "filters/shared/selection/SelectionMarkKernel.h"
#include "filters/shared/pixels/KernelBridge.h"
#include "platform/WideString.h"

#include <utility>

void ProposeMiddleQuarter(IPreviewSite* site, IImage* source)
{
    if (site == nullptr || source == nullptr) return;
    int width = 0;
    int height = 0;
    source->GetSize(&width, &height);
    const WString proposal = FormatWide(u"%d %d %d %d", {width / 4, height / 4, 3 * width / 4, 3 * height / 4});
    site->SetSelection(proposal.c_str());
}

void ShowMarkedThumbnail(CImageStatic* thumbnail, IImage* picture, IImage* source, const RECT& selection)
{
    if (picture == nullptr || source == nullptr) return;
    CComPtr<IImage> marked = CloneAsImage(picture);
    const PixelRows rows = RowsOfImage(marked.Get());
    if (rows.bits == nullptr) return;
    int imageWidth = 0;
    source->GetSize(&imageWidth, nullptr);
    MarkSelection(rows, ScaleSelectionToThumbnail(selection, rows.width, imageWidth));
    thumbnail->SetImage(std::move(marked));
}
