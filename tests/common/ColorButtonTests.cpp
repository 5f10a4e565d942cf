// The colour button: what the user picks is kept, shown and announced to the
// parent; a cancelled pick leaves everything as it was.

#include "tests/common/ModalProbe.h"
#include "tests/common/PostedMessages.h"

#include "Common/dialogs/ColorButton.h"

#include <QColorDialog>
#include <QImage>

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr unsigned kPicked = 0x8068;

// A chooser that answers answer and remembers the colour it was started from.
CColorButton::ColorChooser Answering(std::optional<uint32_t> answer, uint32_t& startedFrom)
{
    return [answer, &startedFrom](uint32_t current, QWidget*) {
        startedFrom = current;
        return answer;
    };
}

// The button's pixel at its centre as 0x00BBGGRR.
uint32_t ShownColor(CColorButton* button)
{
    const QImage shown = button->grab().toImage();
    const QRgb pixel = shown.pixel(shown.width() / 2, shown.height() / 2);
    return static_cast<uint32_t>(qRed(pixel)) | static_cast<uint32_t>(qGreen(pixel)) << 8 |
           static_cast<uint32_t>(qBlue(pixel)) << 16;
}

} // namespace

TEST(ColorButton, APickedColourIsKeptShownAndAnnouncedACancelledPickChangesNothing)
{
    for (const auto answer : {std::optional<uint32_t>(0x00123456), std::optional<uint32_t>()}) {
        SCOPED_TRACE(answer ? "picked" : "cancelled");
        CMessageRecordingParent parent;
        auto* button = new CColorButton(&parent);
        button->resize(40, 20);
        button->SetColor(0x000000FF);
        EXPECT_EQ(ShownColor(button), 0x000000FFu) << "red, in the low byte";
        EXPECT_TRUE(parent.Delivered().empty()) << "setting the colour tells nobody";

        uint32_t startedFrom = 0;
        button->SetChooser(Answering(answer, startedFrom));
        button->click();
        EXPECT_EQ(startedFrom, 0x000000FFu) << "the chooser starts from the colour shown";
        EXPECT_EQ(button->Color(), answer.value_or(0x000000FFu));
        EXPECT_EQ(ShownColor(button), answer.value_or(0x000000FFu));
        EXPECT_EQ(parent.Delivered(), answer ? std::vector<unsigned>{kPicked} : std::vector<unsigned>{});
    }
}

// Without a chooser of its own the button asks with the system colour dialog,
// started from its colour; closing it is a cancel.
TEST(ColorButton, OpensTheColourDialogByDefault)
{
    CMessageRecordingParent parent;
    auto* button = new CColorButton(&parent);
    button->SetColor(0x00336699);
    CModalProbe probe;
    button->click();
    EXPECT_EQ(probe.opened, 1);
    EXPECT_EQ(probe.className, QStringLiteral("QColorDialog"));
    EXPECT_EQ(button->Color(), 0x00336699u);
    EXPECT_TRUE(parent.Delivered().empty());
}
