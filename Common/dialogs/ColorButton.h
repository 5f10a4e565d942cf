#pragma once
// A button that shows a colour and lets the user pick another. A picked colour is
// announced to the parent with a posted message, as a dialog's other controls do.

#include "platform/DialogMessage.h"

#include <QAbstractButton>

#include <cstdint>
#include <functional>
#include <optional>

// Posted to the parent after the user picked a colour.
inline constexpr unsigned kColorPickedMessage = kApplicationMessageBase + 0x68;

class CColorButton final : public QAbstractButton {
public:
    // Asks the user for a colour, starting from current (0x00BBGGRR); empty when the
    // user cancels.
    using ColorChooser = std::function<std::optional<uint32_t>(uint32_t current, QWidget* parent)>;

    // Black, with the system colour dialog as its chooser.
    explicit CColorButton(QWidget* parent);

    uint32_t Color() const { return m_color; }
    // Shows color (0x00BBGGRR) without telling the parent: the dialog sets it itself.
    void SetColor(uint32_t color);
    // Replaces the system colour dialog, for callers that cannot wait on a modal one.
    void SetChooser(ColorChooser chooser) { m_chooser = std::move(chooser); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Choose();

    uint32_t m_color = 0;
    ColorChooser m_chooser;
};
