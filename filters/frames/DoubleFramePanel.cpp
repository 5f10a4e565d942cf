#include "filters/frames/DoubleFramePanel.h"

#include "Common/dialogs/ColorButton.h"
#include "filters/frames/FramesSettings.h"
#include "resources/StringIds.h"

#include <QBoxLayout>
#include <QSlider>

CDoubleFramePanel::CDoubleFramePanel(QWidget* parent)
    : CFramePanel(parent),
      m_outer(AddSlider(IDS_DLG14_OUTER_LABEL, 0, 100, 23)),
      m_inner(AddSlider(IDS_DLG14_INNER_LABEL, 0, 100, 18)),
      m_intensity(AddSlider(IDS_DLG14_INTENSITY_LABEL, 0, 100, 55)),
      m_color(AddColor(IDS_DLG14_COLOR_LABEL, 0xFF0000))
{
    static_cast<QBoxLayout*>(layout())->addStretch();
}

void CDoubleFramePanel::Store(CParamList& params) const
{
    params.SetInt(kOuterFrameThickKey, m_outer->value());
    params.SetInt(kInnerFrameThickKey, m_inner->value());
    params.SetInt(kDblFrameIntensityKey, m_intensity->value());
    params.SetInt(kDblFrameColorKey, static_cast<int>(m_color->Color()));
}

void CDoubleFramePanel::Load(const CParamList& params)
{
    m_loading = true;
    LoadSlider(params, kOuterFrameThickKey, m_outer);
    LoadSlider(params, kInnerFrameThickKey, m_inner);
    LoadSlider(params, kDblFrameIntensityKey, m_intensity);
    LoadColor(params, kDblFrameColorKey, m_color);
    m_loading = false;
}
