#include "filters/autofix/AutofixDialog.h"

#include "filters/autofix/AutofixFixes.h"
#include "filters/autofix/AutofixSettings.h"
#include "platform/DialogText.h"
#include "resources/StringIds.h"

#include <QCheckBox>
#include <QVBoxLayout>

// The boxes take the dialog's width, as its layout is resized.
CDlgInteractiveAutofix::CDlgInteractiveAutofix(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site)
    : CFilterDialog(parent, filter, site)
{
    auto* layout = new QVBoxLayout(this);
    m_colors = AddBox(IDS_DLG108_AUTOFIX_COLORS, kAutofixColorSetting.start != 0);
    m_exposure = AddBox(IDS_DLG108_AUTOFIX_EXPOSURE, kAutofixExposureSetting.start != 0);
    m_noise = AddBox(IDS_DLG108_AUTOFIX_NOISE, kAutofixNoiseSetting.start != 0);
    m_rotation = AddBox(IDS_DLG108_AUTOFIX_ROTATION, kAutofixRotateSetting.start != 0);
    layout->addStretch();
    PostStore();
}

QCheckBox* CDlgInteractiveAutofix::AddBox(unsigned textId, bool checked)
{
    auto* box = new QCheckBox(DialogText(textId), this);
    box->setChecked(checked);
    layout()->addWidget(box);
    connect(box, &QCheckBox::clicked, this, [this] { PostStore(); });
    return box;
}

void CDlgInteractiveAutofix::StoreControls(CParamList& params)
{
    params.SetInt(kAutofixColorKey, m_colors->isChecked() ? 1 : 0);
    params.SetInt(kAutofixExposureKey, m_exposure->isChecked() ? 1 : 0);
    params.SetInt(kAutofixNoiseKey, m_noise->isChecked() ? 1 : 0);
    params.SetInt(kAutofixRotateKey, m_rotation->isChecked() ? 1 : 0);
}

// A missing key clears its box, as the apply leaves its fix out.
void CDlgInteractiveAutofix::ReloadControls(const CParamList& params)
{
    const AutofixChoice choice = ReadAutofixChoice(params);
    m_colors->setChecked(choice.color);
    m_exposure->setChecked(choice.exposure);
    m_noise->setChecked(choice.noise);
    m_rotation->setChecked(choice.rotation);
}
