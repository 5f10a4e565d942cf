#include "filters/frames/SingleFramePanel.h"

#include "Common/dialogs/ColorButton.h"
#include "filters/frames/FramesSettings.h"
#include "resources/StringIds.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QSlider>

CSingleFramePanel::CSingleFramePanel(QWidget* parent)
    : CFramePanel(parent),
      m_thick(AddSlider(IDS_DLG18_THICKNESS_LABEL, 0, 100, 25)),
      m_intensity(AddSlider(IDS_DLG18_INTENSITY_LABEL, 0, 100, 40)),
      m_color(AddColor(IDS_DLG18_COLOR_LABEL, 0x7B7B7B)),
      m_corner(AddCheck(IDS_DLG18_CORNER, true))
{
    static_cast<QBoxLayout*>(layout())->addStretch();
}

void CSingleFramePanel::Store(CParamList& params) const
{
    params.SetInt(kSingleFrameThickKey, m_thick->value());
    params.SetInt(kSingleFrameIntensityKey, m_intensity->value());
    params.SetInt(kSingleFrameCornerKey, m_corner->isChecked() ? 1 : 0);
    params.SetInt(kSingleFrameColorKey, static_cast<int>(m_color->Color()));
}

void CSingleFramePanel::Load(const CParamList& params)
{
    m_loading = true;
    LoadSlider(params, kSingleFrameThickKey, m_thick);
    LoadSlider(params, kSingleFrameIntensityKey, m_intensity);
    LoadCheck(params, kSingleFrameCornerKey, m_corner);
    LoadColor(params, kSingleFrameColorKey, m_color);
    m_loading = false;
}
