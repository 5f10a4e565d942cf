#include "filters/rotate/RotateDialog.h"

#include "Common/base/FilterFormat.h"
#include "Common/dialogs/ColorButton.h"
#include "filters/rotate/RotateSettings.h"
#include "filters/rotate/VisualAngleCtrl.h"
#include "platform/ClassicLocale.h"
#include "platform/ComPtr.h"
#include "platform/DialogMessage.h"
#include "platform/DialogText.h"
#include "plugin/StraighteningInterfaces.h"
#include "resources/StringIds.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <stdlib.h>

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;

// The quick buttons in the dialog's order, with the angle each one sets.
struct QuickChoice {
    unsigned textId;
    double angle;
};
constexpr std::array<QuickChoice, 4> kQuickChoices{{{IDS_DLG5013_NO_ROTATION, 0},
                                                    {IDS_DLG5013_LEFT_90, 90},
                                                    {IDS_DLG5013_RIGHT_90, 270},
                                                    {IDS_DLG5013_180, 180}}};

constexpr std::array<unsigned, 3> kCropTypeTexts{IDS_ROTATE_NO_CROPPING, IDS_ROTATE_CROP_IMAGE,
                                                 IDS_ROTATE_CROP_KEEP_SIZE};

// The preview's tool pairs: line drawing while the dialog opens, and again after a
// new layout.
constexpr int kToolModeFirst = 0;
constexpr int kToolModeLine = 3;

// The arrows move the whole degrees over the range the dialog offers.
constexpr int kArrowMinimum = static_cast<int>(kRotateAngleSetting.minimum);
constexpr int kArrowMaximum = static_cast<int>(kRotateAngleSetting.maximum);

// As a C reader takes a number: the longest leading number, 0 when there is none;
// a comma counts as the decimal point, whatever the user's locale.
double ReadAngleText(QString text)
{
    const QByteArray bytes = text.replace(QLatin1Char(','), QLatin1Char('.')).toLatin1();
    return strtod_l(bytes.constData(), nullptr, ClassicLocale());
}

// The edit shows the angle with at most six decimals and no trailing zeros.
QString AngleText(double angle)
{
    QString text = QString::number(angle, 'f', 6);
    while (text.endsWith(QLatin1Char('0'))) text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

int DialAngle(double angle)
{
    return static_cast<int>(angle + 0.5);
}

} // namespace

CInteractiveRotateDlg::CInteractiveRotateDlg(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site)
    : CFilterDialog(parent, filter, site)
{
    if (Site() != nullptr) Site()->SetToolMode(kToolModeFirst, kToolModeLine);
    BuildControls();
    TakeStartFromFilter();
    ShowAngle();
    m_initialised = true;
    PostStore();
}

void CInteractiveRotateDlg::BuildControls()
{
    auto* layout = new QGridLayout(this);
    m_choices = new QButtonGroup(this);
    int row = 0;
    for (const QuickChoice& choice : kQuickChoices) {
        auto* button = new QRadioButton(DialogText(choice.textId), this);
        m_choices->addButton(button, row);
        layout->addWidget(button, row++, 0, 1, 3);
    }
    auto* custom = new QRadioButton(DialogText(IDS_DLG5013_CUSTOM), this);
    m_choices->addButton(custom, kCustom);
    layout->addWidget(custom, row++, 0, 1, 3);
    connect(m_choices, &QButtonGroup::idClicked, this, [this](int choice) { OnChoice(choice); });

    m_angleEdit = new QLineEdit(this);
    m_up = new QToolButton(this);
    m_up->setArrowType(Qt::UpArrow);
    m_down = new QToolButton(this);
    m_down->setArrowType(Qt::DownArrow);
    layout->addWidget(m_angleEdit, row, 0);
    layout->addWidget(m_up, row, 1);
    layout->addWidget(m_down, row, 2);
    layout->addWidget(new QLabel(DialogText(IDS_DLG5013_DEGREES), this), row++, 3);
    connect(m_angleEdit, &QLineEdit::textEdited, this, [this](const QString& text) { OnAngleEdited(text); });
    connect(m_up, &QToolButton::clicked, this, [this] { OnArrow(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { OnArrow(-1); });

    m_dial = new CVisualAngleCtrl(this);
    m_dial->setMinimumSize(m_dial->sizeHint());
    layout->addWidget(m_dial, 0, 4, 5, 1);

    layout->addWidget(new QLabel(DialogText(IDS_DLG5013_BACKGROUND), this), row, 0, 1, 3);
    m_background = new CColorButton(this);
    layout->addWidget(m_background, row++, 3, 1, 2);

    m_autorotate = new QPushButton(DialogText(IDS_DLG5013_AUTOROTATE), this);
    layout->addWidget(m_autorotate, row++, 0, 1, 5);
    connect(m_autorotate, &QPushButton::clicked, this, [this] { OnAutorotate(); });

    layout->addWidget(new QLabel(DialogText(IDS_DLG5013_SIZE_LABEL), this), row++, 0, 1, 5);
    m_cropTypes = new QComboBox(this);
    for (const unsigned textId : kCropTypeTexts) m_cropTypes->addItem(DialogText(textId));
    layout->addWidget(m_cropTypes, row++, 0, 1, 5);
    connect(m_cropTypes, &QComboBox::activated, this, [this](int index) {
        m_cropType = index;
        StoreAfterInitialisation();
    });

    auto* tip = new QLabel(DialogText(IDS_DLG5013_TIP), this);
    tip->setWordWrap(true);
    layout->addWidget(tip, row++, 0, 1, 5);
    layout->setRowStretch(row, 1);
}

// A dialog opened again shows the settings the filter already has.
void CInteractiveRotateDlg::TakeStartFromFilter()
{
    const WString format = ReadFilterFormat(Filter());
    if (!format.empty()) ReloadControls(CParamList(format.c_str()));
}

void CInteractiveRotateDlg::OnChoice(int choice)
{
    if (choice != kCustom) m_angle = kQuickChoices[static_cast<size_t>(choice)].angle;
    ShowAngle();
    StoreAfterInitialisation();
}

// A text ending in a decimal point is still being typed. Angles are brought into one
// turn by a single step, so 400 reads 40 and -30 reads 330.
void CInteractiveRotateDlg::OnAngleEdited(const QString& text)
{
    if (!m_initialised) return;
    if (!text.isEmpty() && (text.endsWith(QLatin1Char('.')) || text.endsWith(QLatin1Char(',')))) return;
    double angle = ReadAngleText(text);
    if (angle > 360) angle -= 360;
    if (angle == 360) angle = 0;
    if (angle < 0) angle += 360;
    m_angle = angle;
    m_dial->SetAngle(DialAngle(m_angle));
    SelectChoiceOfAngle();
    StoreAfterInitialisation();
}

// The arrows step the edit's whole degrees and clamp them to the dialog's range; the
// new text is then read like a typed one.
void CInteractiveRotateDlg::OnArrow(int step)
{
    const int current = static_cast<int>(ReadAngleText(m_angleEdit->text()));
    const int next = std::clamp(current + step, kArrowMinimum, kArrowMaximum);
    m_angleEdit->setText(QString::number(next));
    OnAngleEdited(m_angleEdit->text());
}

// A picture without a tilt found, or a filter that cannot tell, changes nothing.
void CInteractiveRotateDlg::OnAutorotate()
{
    const auto automatic = CComPtr<IAutomaticAngle>::Query(Filter(), IID_IAutomaticAngle);
    if (!automatic) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    double radians = 0.0;
    const bool found = automatic->GetAutomaticAngle(&radians);
    QApplication::restoreOverrideCursor();
    if (!found) return;
    double angle = radians * kDegreesPerRadian;
    while (angle < 0) angle += 360;
    while (angle > 360) angle -= 360;
    m_angle = angle;
    ShowAngle();
    StoreAfterInitialisation();
}

void CInteractiveRotateDlg::ShowAngle()
{
    m_angleEdit->setText(AngleText(m_angle));
    m_dial->SetAngle(DialAngle(m_angle));
    SelectChoiceOfAngle();
}

void CInteractiveRotateDlg::SelectChoiceOfAngle()
{
    int choice = kCustom;
    for (size_t i = 0; i < kQuickChoices.size(); ++i) {
        if (m_angle == kQuickChoices[i].angle) choice = static_cast<int>(i);
    }
    m_choices->button(choice)->setChecked(true);
}

void CInteractiveRotateDlg::StoreAfterInitialisation()
{
    if (m_initialised) PostStore();
}

bool CInteractiveRotateDlg::event(QEvent* event)
{
    if (event->type() != CDialogMessageEvent::EventType()) return CFilterDialog::event(event);
    const unsigned message = static_cast<CDialogMessageEvent*>(event)->Message();
    if (message == kAngleDialMessage) {
        m_angle = m_dial->Angle();
        ShowAngle();
        StoreAfterInitialisation();
        return true;
    }
    if (message == kColorPickedMessage) {
        m_color = m_background->Color();
        StoreAfterInitialisation();
        return true;
    }
    return CFilterDialog::event(event);
}

void CInteractiveRotateDlg::resizeEvent(QResizeEvent* event)
{
    CFilterDialog::resizeEvent(event);
    if (Site() != nullptr) Site()->SetToolMode(kToolModeLine, kToolModeFirst);
}

void CInteractiveRotateDlg::StoreControls(CParamList& params)
{
    params.SetDouble(kRotateAngleKey, m_angle);
    params.SetInt(kRotateBackgroundKey, static_cast<int>(m_color));
    params.SetInt(kRotateCropTypeKey, m_cropType);
}

void CInteractiveRotateDlg::ReloadControls(const CParamList& params)
{
    params.GetDouble(kRotateAngleKey, m_angle);
    int color = 0;
    if (params.GetInt(kRotateBackgroundKey, color)) m_color = static_cast<uint32_t>(color);
    params.GetInt(kRotateCropTypeKey, m_cropType);
    m_background->SetColor(m_color);
    m_cropTypes->setCurrentIndex(std::clamp(m_cropType, 0, static_cast<int>(kCropTypeTexts.size()) - 1));
    ShowAngle();
}
