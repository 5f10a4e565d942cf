#include "filters/resize/ResizeDialog.h"

#include "filters/resize/ResizeFilter.h"
#include "Common/dialogs/NumericEdit.h"
#include "filters/resize/ResizeKernelFunctions.h"
#include "filters/resize/ResizeDialogUnits.h"
#include "platform/DialogMessage.h"
#include "platform/DialogText.h"
#include "resources/StringIds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QSignalBlocker>

#include <algorithm>
#include <span>

namespace {

constexpr int kSmallestSize = static_cast<int>(kResizerWidthSetting.minimum);
constexpr int kLargestSize = static_cast<int>(kResizerWidthSetting.maximum);
constexpr int kDefaultMethod = static_cast<int>(kResizerModeSetting.start);
constexpr double kBytesPerMegabyte = 1048576.0;

struct ListItem {
    unsigned textId;
    int value;
};

constexpr ListItem kUnits[] = {
    {IDS_RESIZE_UNIT_PIXEL, kUnitPixel},
    {IDS_RESIZE_UNIT_INCH, kUnitInch},
    {IDS_RESIZE_UNIT_CM, kUnitCentimetre},
    {IDS_RESIZE_UNIT_PERCENT, kUnitPercent},
};

constexpr ListItem kMethods[] = {
    {IDS_RESIZE_METHOD_NEAREST_NEIGHBOUR, kResizeNearestNeighbour},
    {IDS_RESIZE_METHOD_BILINEAR, kResizeBilinear},
    {IDS_RESIZE_METHOD_BARTLETT, kResizeBartlett},
    {IDS_RESIZE_METHOD_MITCHELL_NETRAVALI, kResizeMitchellNetravali},
    {IDS_RESIZE_METHOD_LANCZOS, kResizeLanczos},
};

QString LocaleDecimalSeparator()
{
    const QString separator = QLocale().decimalPoint();
    return separator.isEmpty() ? QStringLiteral(".") : separator;
}

QComboBox* NewList(QWidget* parent, std::span<const ListItem> items)
{
    auto* list = new QComboBox(parent);
    for (const ListItem& item : items) list->addItem(DialogText(item.textId), item.value);
    return list;
}

void SelectValue(QComboBox* list, int value)
{
    const QSignalBlocker quiet(list);
    const int index = list->findData(value);
    if (index >= 0) list->setCurrentIndex(index);
}

void SetChecked(QCheckBox* box, bool checked)
{
    const QSignalBlocker quiet(box);
    box->setChecked(checked);
}

bool IsPlausibleSize(int pixels)
{
    return pixels >= kSmallestSize && pixels <= kLargestSize;
}

int RoundedResolution(double resolution)
{
    return TruncatedToInt(resolution + 0.5);
}

int ReadUnit(const CParamList& params, const char16_t* key, int current)
{
    int unit = current;
    if (!params.GetInt(key, unit)) return current;
    return unit >= kUnitPixel && unit <= kUnitPercent ? unit : kUnitPixel;
}

double ReadSizeInUnit(const CParamList& params, const char16_t* key, double fallback)
{
    double value = fallback;
    params.GetDouble(key, value);
    return std::max(value, 0.0);
}

int ReadResolution(const CParamList& params, const char16_t* key, int fallback)
{
    int resolution = fallback;
    params.GetInt(key, resolution);
    return std::max(resolution, 1);
}

bool IsStoreMessage(QEvent* event)
{
    return event->type() == CDialogMessageEvent::EventType() &&
           static_cast<CDialogMessageEvent*>(event)->Message() == kStoreMessage;
}

} // namespace

CDlgInteractiveResize::CDlgInteractiveResize(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site,
                                             IUnknown* source)
    : CFilterDialog(parent, filter, site),
      m_source(CComPtr<IImage>::Query(source, IID_IImage)),
      m_decimalSeparator(LocaleDecimalSeparator())
{
    if (m_source) {
        m_source->GetSize(&m_sourceWidth, &m_sourceHeight);
        m_source->GetResolution(&m_sourceResolutionX, &m_sourceResolutionY);
    }
    m_newWidth = m_sourceWidth;
    m_newHeight = m_sourceHeight;
    m_storedResolutionX = m_sourceResolutionX;
    m_storedResolutionY = m_sourceResolutionY;
    m_widthInUnit = m_sourceWidth;
    m_heightInUnit = m_sourceHeight;
    m_resolutionX = m_sourceResolutionX;
    m_resolutionY = m_sourceResolutionY;
    BuildControls();
    ShowChoices();
    WriteFields(kNoField);
    ConnectControls();
    PostStore();
}

// Controls are made in the order the keyboard visits them.
void CDlgInteractiveResize::BuildControls()
{
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(DialogText(IDS_DLG9_IMAGE_SIZE_LABEL), this), 0, 0, 1, 3);
    AddField(grid, 1, IDS_DLG9_WIDTH_LABEL, kWidth);
    m_widthUnitList = AddUnitList(grid, 1);
    AddField(grid, 2, IDS_DLG9_HEIGHT_LABEL, kHeight);
    m_heightUnitList = AddUnitList(grid, 2);
    grid->addWidget(new QLabel(DialogText(IDS_DLG9_RESOLUTION_LABEL), this), 3, 0, 1, 3);
    AddField(grid, 4, IDS_DLG9_RESOLUTION_X_LABEL, kResolutionX);
    grid->addWidget(new QLabel(DialogText(IDS_DLG9_DPI_X), this), 4, 2);
    AddField(grid, 5, IDS_DLG9_RESOLUTION_Y_LABEL, kResolutionY);
    grid->addWidget(new QLabel(DialogText(IDS_DLG9_DPI_Y), this), 5, 2);
    grid->addWidget(new QLabel(DialogText(IDS_DLG9_MODE_LABEL), this), 6, 0, 1, 3);
    m_constrainBox = new QCheckBox(DialogText(IDS_DLG9_CONSTRAIN), this);
    grid->addWidget(m_constrainBox, 7, 0, 1, 3);
    m_resampleBox = new QCheckBox(DialogText(IDS_DLG9_RESAMPLE), this);
    grid->addWidget(m_resampleBox, 8, 0, 1, 3);
    m_methodList = NewList(this, kMethods);
    grid->addWidget(m_methodList, 9, 0, 1, 3);
    grid->addWidget(new QLabel(DialogText(IDS_DLG9_STATUS_LABEL), this), 10, 0, 1, 3);
    m_summary = new QLabel(this);
    m_summary->setWordWrap(true);
    m_summary->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_summary->setMinimumHeight(4 * m_summary->fontMetrics().lineSpacing());
    grid->addWidget(m_summary, 11, 0, 1, 3);
    grid->setRowStretch(12, 1);
}

CNumericEdit* CDlgInteractiveResize::AddField(QGridLayout* grid, int row, unsigned labelId, Field field)
{
    auto* label = new QLabel(DialogText(labelId), this);
    auto* edit = new CNumericEdit(this, m_decimalSeparator);
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    m_fields[field] = edit;
    return edit;
}

QComboBox* CDlgInteractiveResize::AddUnitList(QGridLayout* grid, int row)
{
    QComboBox* list = NewList(this, kUnits);
    grid->addWidget(list, row, 2);
    return list;
}

void CDlgInteractiveResize::ConnectControls()
{
    for (int field = kWidth; field < kFieldCount; ++field) {
        connect(m_fields[field], &QLineEdit::textChanged, this,
                [this, field] { OnFieldEdited(static_cast<Field>(field)); });
    }
    connect(m_widthUnitList, &QComboBox::currentIndexChanged, this,
            [this] { OnUnitChosen(kWidth, m_widthUnitList->currentData().toInt()); });
    connect(m_heightUnitList, &QComboBox::currentIndexChanged, this,
            [this] { OnUnitChosen(kHeight, m_heightUnitList->currentData().toInt()); });
    connect(m_constrainBox, &QCheckBox::toggled, this, [this](bool on) { OnConstrainToggled(on); });
    connect(m_resampleBox, &QCheckBox::toggled, this, [this](bool on) { OnResampleToggled(on); });
    connect(m_methodList, &QComboBox::currentIndexChanged, this, [this](int index) { OnMethodChosen(index); });
}

void CDlgInteractiveResize::OnFieldEdited(Field edited)
{
    if (m_writingFields || !ReadFields()) return;
    if (m_constrain) FollowEditedField(edited);
    WriteFields(edited);
    PostStore();
}

// Every field must read as a number; those before a failing one are taken all the same.
bool CDlgInteractiveResize::ReadFields()
{
    for (const CNumericEdit* field : m_fields) {
        if (field->text().isEmpty()) return false;
    }
    for (int field = kWidth; field < kFieldCount; ++field) {
        double value = 0.0;
        if (!m_fields[field]->ReadValue(value)) return false;
        ValueOf(static_cast<Field>(field)) = value;
    }
    return true;
}

void CDlgInteractiveResize::FollowEditedField(Field edited)
{
    const double resolutionRatio = static_cast<double>(m_sourceResolutionX) / m_sourceResolutionY;
    switch (edited) {
    case kWidth:
        HeightFollowsWidth();
        return;
    case kHeight:
        WidthFollowsHeight();
        return;
    case kResolutionX:
        m_resolutionY = resolutionRatio * m_resolutionX;
        break;
    default:
        m_resolutionX = m_resolutionY / resolutionRatio;
        break;
    }
    if (m_resample) SizesFollowResolution();
}

void CDlgInteractiveResize::HeightFollowsWidth()
{
    const double aspect = static_cast<double>(m_sourceWidth) / m_sourceHeight;
    const int height = TruncatedToInt(WidthInPixels() / aspect + 0.5);
    m_heightInUnit = FromPixels(height, m_resolutionY, m_sourceHeight, m_heightUnit);
}

void CDlgInteractiveResize::WidthFollowsHeight()
{
    const double aspect = static_cast<double>(m_sourceWidth) / m_sourceHeight;
    const int width = TruncatedToInt(HeightInPixels() * aspect + 0.5);
    m_widthInUnit = FromPixels(width, m_resolutionX, m_sourceWidth, m_widthUnit);
}

// Resampling keeps the printed size: more dots per inch mean more pixels.
void CDlgInteractiveResize::SizesFollowResolution()
{
    const int width = TruncatedToInt(static_cast<double>(m_newWidth) / m_storedResolutionX * m_resolutionX + 0.5);
    const int height = TruncatedToInt(static_cast<double>(m_newHeight) / m_storedResolutionY * m_resolutionY + 0.5);
    m_widthInUnit = FromPixels(width, m_resolutionX, m_sourceWidth, m_widthUnit);
    m_heightInUnit = FromPixels(height, m_resolutionY, m_sourceHeight, m_heightUnit);
}

void CDlgInteractiveResize::OnUnitChosen(Field field, int unit)
{
    const bool width = field == kWidth;
    int& current = width ? m_widthUnit : m_heightUnit;
    double& value = ValueOf(field);
    const double resolution = width ? m_resolutionX : m_resolutionY;
    const int sourceSize = width ? m_sourceWidth : m_sourceHeight;
    if (unit != current) {
        value = FromPixels(ToPixels(value, resolution, sourceSize, current), resolution, sourceSize, unit);
        if (unit == kUnitPixel) value = TruncatedToInt(value + 0.5);
    }
    current = unit;
    WriteFields(kNoField);
}

void CDlgInteractiveResize::OnConstrainToggled(bool on)
{
    m_constrain = on;
    if (on) {
        HeightFollowsWidth();
        WriteFields(kWidth);
    }
    PostStore();
}

// Without resampling the pixels stay as they are: only the resolution can change.
void CDlgInteractiveResize::OnResampleToggled(bool on)
{
    m_resample = on;
    if (!on) {
        m_widthUnit = kUnitPixel;
        m_heightUnit = kUnitPixel;
        m_widthInUnit = m_sourceWidth;
        m_heightInUnit = m_sourceHeight;
        WriteFields(kNoField);
    }
    ShowChoices();
    PostStore();
}

void CDlgInteractiveResize::OnMethodChosen(int index)
{
    m_method = m_methodList->itemData(index).toInt();
    PostStore();
}

bool CDlgInteractiveResize::event(QEvent* event)
{
    if (IsStoreMessage(event) && !SettingsValid()) {
        WriteSummary();
        return true;
    }
    return CFilterDialog::event(event);
}

// The stored size and resolution become the ones the summary shows and a later
// resolution change scales from.
void CDlgInteractiveResize::StoreControls(CParamList& params)
{
    m_newWidth = WidthInPixels();
    m_newHeight = HeightInPixels();
    m_storedResolutionX = RoundedResolution(m_resolutionX);
    m_storedResolutionY = RoundedResolution(m_resolutionY);
    WriteSummary();
    params.SetInt(kResizerWidthKey, m_newWidth);
    params.SetInt(kResizerHeightKey, m_newHeight);
    params.SetDouble(kResizerWidthInUnitKey, m_widthInUnit);
    params.SetDouble(kResizerHeightInUnitKey, m_heightInUnit);
    params.SetInt(kResizerHorUnitKey, m_widthUnit);
    params.SetInt(kResizerVerUnitKey, m_heightUnit);
    params.SetInt(kResizerResolutionXKey, m_storedResolutionX);
    params.SetInt(kResizerResolutionYKey, m_storedResolutionY);
    params.SetInt(kResizerModeKey, m_resample ? m_method : kResizeResolutionOnly);
    params.SetInt(kResizerConstrainKey, m_constrain ? 1 : 0);
}

void CDlgInteractiveResize::ReloadControls(const CParamList& params)
{
    ReadKeys(params);
    WriteFields(kNoField);
    ShowChoices();
}

void CDlgInteractiveResize::ReadKeys(const CParamList& params)
{
    int mode = kDefaultMethod;
    if (!params.GetInt(kResizerModeKey, mode) || mode < kResizeResolutionOnly || mode > kResizeLanczos) {
        mode = kDefaultMethod;
    }
    m_resample = mode != kResizeResolutionOnly;
    m_method = m_resample ? mode : kDefaultMethod;
    m_newWidth = m_sourceWidth;
    params.GetInt(kResizerWidthKey, m_newWidth);
    m_newHeight = m_sourceHeight;
    params.GetInt(kResizerHeightKey, m_newHeight);
    m_storedResolutionX = ReadResolution(params, kResizerResolutionXKey, m_sourceResolutionX);
    m_storedResolutionY = ReadResolution(params, kResizerResolutionYKey, m_sourceResolutionY);
    m_resolutionX = m_storedResolutionX;
    m_resolutionY = m_storedResolutionY;
    m_widthUnit = ReadUnit(params, kResizerHorUnitKey, m_widthUnit);
    m_heightUnit = ReadUnit(params, kResizerVerUnitKey, m_heightUnit);
    // A text without the typed values shows the pixel size in the units.
    m_widthInUnit = ReadSizeInUnit(params, kResizerWidthInUnitKey,
                                   FromPixels(m_newWidth, m_resolutionX, m_sourceWidth, m_widthUnit));
    m_heightInUnit = ReadSizeInUnit(params, kResizerHeightInUnitKey,
                                    FromPixels(m_newHeight, m_resolutionY, m_sourceHeight, m_heightUnit));
    int constrain = m_constrain ? 1 : 0;
    params.GetInt(kResizerConstrainKey, constrain);
    m_constrain = constrain != 0;
}

int CDlgInteractiveResize::WidthInPixels() const
{
    return ToPixels(m_widthInUnit, m_resolutionX, m_sourceWidth, m_widthUnit);
}

int CDlgInteractiveResize::HeightInPixels() const
{
    return ToPixels(m_heightInUnit, m_resolutionY, m_sourceHeight, m_heightUnit);
}

bool CDlgInteractiveResize::SettingsValid() const
{
    return m_resolutionX > 1.0 && m_resolutionY > 1.0 && IsPlausibleSize(WidthInPixels()) &&
           IsPlausibleSize(HeightInPixels());
}

double& CDlgInteractiveResize::ValueOf(Field field)
{
    switch (field) {
    case kWidth:
        return m_widthInUnit;
    case kHeight:
        return m_heightInUnit;
    case kResolutionX:
        return m_resolutionX;
    default:
        return m_resolutionY;
    }
}

void CDlgInteractiveResize::WriteFields(Field except)
{
    m_writingFields = true;
    for (int field = kWidth; field < kFieldCount; ++field) {
        if (field != except) m_fields[field]->ShowValue(ValueOf(static_cast<Field>(field)));
    }
    m_writingFields = false;
    WriteSummary();
}

void CDlgInteractiveResize::WriteSummary()
{
    if (!SettingsValid()) {
        m_summary->setText(DialogText(IDS_DLG9_BAD_PARAMETERS));
        return;
    }
    const double megabytes = static_cast<double>(int64_t{m_newWidth} * m_newHeight * 4) / kBytesPerMegabyte;
    const QByteArray pattern = DialogText(IDS_RESIZE_SUMMARY).toUtf8();
    m_summary->setText(QString::asprintf(pattern.constData(), m_sourceWidth, m_sourceHeight, m_sourceResolutionX,
                                         m_sourceResolutionY, m_newWidth, m_newHeight, m_storedResolutionX,
                                         m_storedResolutionY, megabytes));
}

// The lists and boxes as the dialog's values say, without their change signals.
void CDlgInteractiveResize::ShowChoices()
{
    SelectValue(m_widthUnitList, m_widthUnit);
    SelectValue(m_heightUnitList, m_heightUnit);
    SelectValue(m_methodList, m_method);
    SetChecked(m_constrainBox, m_constrain);
    SetChecked(m_resampleBox, m_resample);
    for (QWidget* control : {static_cast<QWidget*>(WidthEdit()), static_cast<QWidget*>(HeightEdit()),
                             static_cast<QWidget*>(m_widthUnitList), static_cast<QWidget*>(m_heightUnitList),
                             static_cast<QWidget*>(m_methodList)}) {
        control->setEnabled(m_resample);
    }
}
