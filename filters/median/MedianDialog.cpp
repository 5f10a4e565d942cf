#include "filters/median/MedianDialog.h"

#include "Common/dialogs/SliderRow.h"
#include "filters/median/MedianFilter.h"
#include "filters/median/MedianKernel.h"
#include "platform/DialogText.h"
#include "resources/StringIds.h"

#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

CInteractiveMedianDlg::CInteractiveMedianDlg(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site)
    : CFilterDialog(parent, filter, site)
{
    // The layout stretches the label, the slider and the hint to the dialog's width
    // as it is resized.
    auto* layout = new QVBoxLayout(this);
    const SliderRow radius{IDS_DLG13_SIZE_LABEL, static_cast<int>(kMedianSizeSetting.minimum),
                           static_cast<int>(kMedianSizeSetting.maximum), static_cast<int>(kMedianSizeSetting.start), 0};
    m_size = AddSliderRow(this, radius, SliderStore::WhenMovementEnds, [this] { PostStore(); });
    auto* hint = new QLabel(DialogText(IDS_DLG13_HINT), this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    layout->addStretch();
    PostStore();
}

void CInteractiveMedianDlg::StoreControls(CParamList& params)
{
    params.SetInt(kMedianSizeKey, m_size->value());
}

void CInteractiveMedianDlg::ReloadControls(const CParamList& params)
{
    int radius = 0;
    if (!params.GetInt(kMedianSizeKey, radius)) return;
    radius = std::clamp(radius, kMinimumMedianRadius, kMaximumMedianRadius);
    if (radius != m_size->value()) m_size->setValue(radius);
}
