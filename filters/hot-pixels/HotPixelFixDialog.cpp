#include "filters/hot-pixels/HotPixelFixDialog.h"

#include "Common/dialogs/SliderRow.h"
#include "filters/hot-pixels/HotPixelFixSettings.h"
#include "platform/DialogText.h"
#include "resources/StringIds.h"

#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

CDlgInteractiveHotPixelFix::CDlgInteractiveHotPixelFix(QWidget* parent, IInteractiveFilter* filter,
                                                       IPreviewSite* site)
    : CFilterDialog(parent, filter, site)
{
    // The layout stretches the label, the trackbar and the hint to the dialog's width
    // as it is resized. Every position passed while dragging is stored, not only the
    // last one.
    auto* layout = new QVBoxLayout(this);
    const SliderRow intensity{IDS_DLG5_INTENSITY_LABEL, kLeastHotPixelIntensity, kMostHotPixelIntensity,
                              kStartHotPixelIntensity, 0};
    m_intensity = AddSliderRow(this, intensity, SliderStore::OnEveryChange, [this] { PostStore(); });
    auto* hint = new QLabel(DialogText(IDS_DLG5_HINT), this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    layout->addStretch();
    PostStore();
}

void CDlgInteractiveHotPixelFix::StoreControls(CParamList& params)
{
    params.SetInt(kHotPixelIntensityKey, m_intensity->value());
}

void CDlgInteractiveHotPixelFix::ReloadControls(const CParamList& params)
{
    int intensity = 0;
    if (!params.GetInt(kHotPixelIntensityKey, intensity)) return;
    m_intensity->setValue(std::clamp(intensity, kLeastHotPixelIntensity, kMostHotPixelIntensity));
}
