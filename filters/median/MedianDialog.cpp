#include "filters/median/MedianDialog.h"

#include "filters/median/MedianFilter.h"
#include "filters/median/MedianKernel.h"
#include "Common/dialogs/SliderTracking.h"
#include "platform/DialogText.h"
#include "resources/StringIds.h"

#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

CInteractiveMedianDlg::CInteractiveMedianDlg(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site)
    : CFilterDialog(parent, filter, site), m_size(new QSlider(Qt::Horizontal, this))
{
    m_size->setRange(kMinimumMedianRadius, kMaximumMedianRadius);
    m_size->setValue(kMinimumMedianRadius);
    m_size->setTickPosition(QSlider::TicksBelow);
    OnTrackingEnded(m_size, [this] { PostStore(); });

    auto* label = new QLabel(DialogText(IDS_DLG13_SIZE_LABEL), this);
    label->setBuddy(m_size);
    auto* hint = new QLabel(DialogText(IDS_DLG13_HINT), this);
    hint->setWordWrap(true);
    // The layout stretches all three to the dialog's width as it is resized.
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_size);
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
