#include "filters/frames/FramePanel.h"

#include "Common/dialogs/ColorButton.h"
#include "Common/dialogs/SliderRow.h"
#include "platform/DialogMessage.h"
#include "platform/DialogText.h"

#include <QCheckBox>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

CFramePanel::CFramePanel(QWidget* parent) : QWidget(parent)
{
    new QVBoxLayout(this);
}

bool CFramePanel::event(QEvent* event)
{
    if (event->type() != CDialogMessageEvent::EventType()) return QWidget::event(event);
    if (static_cast<CDialogMessageEvent*>(event)->Message() == kColorPickedMessage) ColorPicked();
    return true;
}

void CFramePanel::Changed() const
{
    if (!m_loading && m_changed) m_changed();
}

QSlider* CFramePanel::AddSlider(unsigned labelId, int first, int last, int start)
{
    return AddSliderRow(this, SliderRow{labelId, first, last, start, 0}, SliderStore::OnEveryChange,
                        [this] { Changed(); });
}

// The swatch sits to the right of its label, as in the other colour dialogs.
CColorButton* CFramePanel::AddColor(unsigned labelId, uint32_t start)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(DialogText(labelId), this));
    auto* button = new CColorButton(this);
    button->SetColor(start);
    row->addWidget(button);
    row->addStretch();
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
    return button;
}

QCheckBox* CFramePanel::AddCheck(unsigned labelId, bool checked)
{
    auto* box = new QCheckBox(DialogText(labelId), this);
    box->setChecked(checked);
    connect(box, &QCheckBox::clicked, this, [this] { Changed(); });
    layout()->addWidget(box);
    return box;
}

void CFramePanel::LoadSlider(const CParamList& params, const char16_t* key, QSlider* slider)
{
    int value = 0;
    if (params.GetInt(key, value)) slider->setValue(std::clamp(value, slider->minimum(), slider->maximum()));
}

void CFramePanel::LoadColor(const CParamList& params, const char16_t* key, CColorButton* button)
{
    int value = 0;
    if (params.GetInt(key, value)) button->SetColor(static_cast<uint32_t>(value) & 0xFFFFFF);
}

void CFramePanel::LoadCheck(const CParamList& params, const char16_t* key, QCheckBox* box)
{
    int value = 0;
    if (params.GetInt(key, value)) box->setChecked(value != 0);
}
