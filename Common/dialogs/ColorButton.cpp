#include "Common/dialogs/ColorButton.h"

#include "Common/dialogs/ColorValue.h"

#include <QColorDialog>
#include <QPainter>

namespace {

std::optional<uint32_t> AskWithColorDialog(uint32_t current, QWidget* parent)
{
    const QColor chosen = QColorDialog::getColor(ColorOfValue(current), parent);
    if (!chosen.isValid()) return std::nullopt;
    return ValueOfColor(chosen);
}

} // namespace

CColorButton::CColorButton(QWidget* parent) : QAbstractButton(parent), m_chooser(AskWithColorDialog)
{
    connect(this, &QAbstractButton::clicked, this, [this] { Choose(); });
}

void CColorButton::SetColor(uint32_t color)
{
    m_color = color;
    update();
}

// Wide enough to show the colour beside the dialog's edit fields.
QSize CColorButton::sizeHint() const
{
    return {48, 22};
}

// The whole button is the colour: there is no text and no frame.
void CColorButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ColorOfValue(m_color));
}

void CColorButton::Choose()
{
    const std::optional<uint32_t> chosen = m_chooser(m_color, this);
    if (!chosen) return;
    SetColor(*chosen);
    if (parentWidget() != nullptr) PostDialogMessage(parentWidget(), kColorPickedMessage);
}
