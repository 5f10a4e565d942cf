#include "filters/frames/FadingFramePanel.h"

#include "Common/dialogs/ColorButton.h"
#include "filters/frames/FramesSettings.h"
#include "platform/DialogText.h"
#include "resources/StringIds.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QPushButton>
#include <QSlider>

CFadingFramePanel::CFadingFramePanel(QWidget* parent)
    : CFramePanel(parent),
      m_thick(AddSlider(IDS_DLG19_THICKNESS_LABEL, 0, 100, 25)),
      m_intensity(AddSlider(IDS_DLG19_INTENSITY_LABEL, 0, 100, 80)),
      m_steps(AddSlider(IDS_DLG19_STEPS_LABEL, 1, 50, 1)),
      m_angle(AddSlider(IDS_DLG19_ANGLE_LABEL, 0, 98, 45)),
      m_horizontal(AddColor(IDS_DLG19_HORIZONTAL_LABEL, 0x78FF8E)),
      m_vertical(AddColor(IDS_DLG19_VERTICAL_LABEL, 0x5871FF)),
      m_hToV(new QPushButton(DialogText(IDS_DLG19_H_TO_V), this)),
      m_vToH(new QPushButton(DialogText(IDS_DLG19_V_TO_H), this)),
      m_outerToInner(nullptr)
{
    auto* copies = new QHBoxLayout;
    copies->addWidget(m_hToV);
    copies->addWidget(m_vToH);
    copies->addStretch();
    static_cast<QBoxLayout*>(layout())->addLayout(copies);
    m_outerToInner = AddCheck(IDS_DLG19_OUTER_TO_INNER, true);
    static_cast<QBoxLayout*>(layout())->addStretch();
    connect(m_hToV, &QPushButton::clicked, this, [this] {
        m_vertical->SetColor(m_horizontal->Color());
        ColorPicked();
    });
    connect(m_vToH, &QPushButton::clicked, this, [this] {
        m_horizontal->SetColor(m_vertical->Color());
        ColorPicked();
    });
}

void CFadingFramePanel::Store(CParamList& params) const
{
    params.SetInt(kFadeFrameThickKey, m_thick->value());
    params.SetInt(kFadeFrameIntensKey, m_intensity->value());
    params.SetInt(kFadeFrameStepsKey, m_steps->value());
    params.SetInt(kFadeFrameAngleKey, m_angle->value());
    params.SetInt(kFadeFrameInOutKey, m_outerToInner->isChecked() ? 1 : 0);
    params.SetInt(kFadeFrameHorColKey, static_cast<int>(m_horizontal->Color()));
    params.SetInt(kFadeFrameVerColKey, static_cast<int>(m_vertical->Color()));
    m_storedHorizontal = m_horizontal->Color();
    m_storedVertical = m_vertical->Color();
}

void CFadingFramePanel::Load(const CParamList& params)
{
    m_loading = true;
    LoadSlider(params, kFadeFrameThickKey, m_thick);
    LoadSlider(params, kFadeFrameIntensKey, m_intensity);
    LoadSlider(params, kFadeFrameStepsKey, m_steps);
    LoadSlider(params, kFadeFrameAngleKey, m_angle);
    LoadCheck(params, kFadeFrameInOutKey, m_outerToInner);
    LoadColor(params, kFadeFrameHorColKey, m_horizontal);
    LoadColor(params, kFadeFrameVerColKey, m_vertical);
    m_loading = false;
}

void CFadingFramePanel::ColorPicked()
{
    if (m_horizontal->Color() != m_storedHorizontal || m_vertical->Color() != m_storedVertical) Changed();
}
