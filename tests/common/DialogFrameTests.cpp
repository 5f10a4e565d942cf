// The pieces dialogs are built from: picture stretching, the preview picture
// control, tabbed pages, and how a failed status reaches the user.

#include "tests/CountingHost.h"
#include "tests/common/ModalProbe.h"
#include "tests/FakeDisplayable.h"
#include "tests/TestSupport.h"

#include "Common/dialogs/FilterPage.h"
#include "Common/dialogs/FlexPropertySheet.h"
#include "Common/dialogs/ImageStatic.h"
#include "Common/dialogs/ShowStatus.h"
#include "Common/status/Status.h"
#include "filters/brightness-contrast/BrightnessContrastFactory.h"
#include "platform/DialogMessage.h"
#include "platform/StretchBlt.h"
#include "plugin/ModuleFactories.h"
#include "refhost/PreviewSite.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>

#include <cerrno>

#include <gtest/gtest.h>

namespace {

// Pixel (x, y) of an image counted from its top-left corner, as a person sees it.
} // namespace

TEST(StretchSection, PicksTheSourcePixelEachTargetPixelFallsIn)
{
    auto source = MakeImage(4, 3, DistinctPixel);
    struct Size {
        int width, height;
    };
    for (const Size target : {Size{2, 3}, Size{8, 6}, Size{3, 2}, Size{1, 1}, Size{4, 3}, Size{7, 5}}) {
        auto scaled = MakeImage(target.width, target.height, [](int, int) { return 0u; });
        ASSERT_TRUE(StretchSectionColorOnColor(scaled->GetBitmap(), source->GetBitmap()));
        for (int y = 0; y < target.height; ++y) {
            for (int x = 0; x < target.width; ++x) {
                const int sourceX = x * 4 / target.width;
                const int sourceY = y * 3 / target.height;
                EXPECT_EQ(SeenAt(scaled.Get(), x, y), SeenAt(source.Get(), sourceX, sourceY))
                    << target.width << "x" << target.height << " at " << x << "," << y;
            }
        }
    }
    EXPECT_FALSE(StretchSectionColorOnColor(nullptr, source->GetBitmap()));
}

TEST(PreviewPicture, FitsTheSourceIntoTheBoxKeepingItsShape)
{
    auto* host = new CCountingHost(0x0409);
    auto landscape = MakeImage(40, 20, DistinctPixel);
    landscape->SetResolution(300, 300);
    struct Case {
        int boxWidth, boxHeight, width, height;
    };
    // factor = min(box width / 40, box height / 20), sizes truncated.
    for (const Case c : {Case{20, 20, 20, 10}, Case{100, 30, 60, 30}, Case{13, 100, 13, 6}, Case{80, 40, 80, 40}}) {
        CComPtr<IImage> preview =
            MakePreviewPicture(static_cast<IPluginHost*>(host), static_cast<IImage*>(landscape.Get()),
                               c.boxWidth, c.boxHeight);
        ASSERT_TRUE(preview);
        EXPECT_EQ(SizeOf(preview.Get()), std::pair(c.width, c.height));
    }
    EXPECT_FALSE(MakePreviewPicture(nullptr, static_cast<IImage*>(landscape.Get()), 10, 10));
    EXPECT_EQ(host->HeldByOthers(), 0);
    host->Release();
}

TEST(ImageStatic, PaintsThePictureCentredOnBlack)
{
    QWidget parent;
    auto* control = new CImageStatic(&parent);
    control->resize(10, 8);
    auto picture = MakeImage(4, 2, [](int x, int) { return x < 2 ? 0xFFFF0000u : 0xFF00FF00u; });
    control->SetImage(CComPtr<IImage>::Share(static_cast<IImage*>(picture.Get())));
    const QImage shown = control->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(10, 8));
    EXPECT_EQ(shown.pixel(0, 0), 0xFF000000u) << "the margin is black";
    EXPECT_EQ(shown.pixel(3, 3), 0xFFFF0000u) << "left half of the picture starts at x = 3";
    EXPECT_EQ(shown.pixel(6, 4), 0xFF00FF00u);
    EXPECT_EQ(shown.pixel(7, 4), 0xFF000000u);
    EXPECT_EQ(shown.pixel(4, 2), 0xFF000000u) << "rows 3 and 4 hold the picture";
}

namespace {

// A page that stores its own name as the active page.
class CNamedPage final : public CFilterPage {
public:
    CNamedPage(IInteractiveFilter* filter, IPreviewSite* site, const QString& name)
        : CFilterPage(filter, site, name)
    {
    }

protected:
    void StoreControls(CParamList& params) override
    {
        params.Set(u"ActivePage", reinterpret_cast<const char16_t*>(Title().utf16()));
    }
    void ReloadControls(const CParamList&) override {}
};

} // namespace

TEST(FlexPropertySheet, SwitchingPagesStoresThePageNowShown)
{
    auto source = MakeImage(2, 2, DistinctPixel);
    auto filter = CreateInteractiveFilter(FactoryOf<CInteractiveBrightnessContrastFactory>(), static_cast<IImage*>(source.Get()), nullptr);
    auto site = CComPtr<CPreviewSite>::Adopt(CPreviewSite::Create(nullptr));
    {
        QWidget parent;
        auto* sheet = new CFlexPropertySheet(&parent);
        sheet->AddPage(new CNamedPage(filter.Get(), site.Get(), QStringLiteral("Blur")));
        sheet->AddPage(new CNamedPage(filter.Get(), site.Get(), QStringLiteral("Mask")));
        EXPECT_EQ(sheet->PageCount(), 2);
        EXPECT_EQ(sheet->ActivePage(), 0);
        PumpPostedEvents();
        EXPECT_EQ(site->ChangeCount(), 1) << "the first page became active once";
        char16_t text[64];
        filter->GetFormat(text, 64);
        EXPECT_EQ(WString(text), u"ActivePage:Blur\n");

        sheet->SetActivePage(1);
        PumpPostedEvents();
        EXPECT_EQ(site->ChangeCount(), 2);
        filter->GetFormat(text, 64);
        EXPECT_EQ(WString(text), u"ActivePage:Mask\n");
    }
    EXPECT_EQ(RefCountOf(static_cast<IPreviewSite*>(site.Get())), 1u) << "the pages released the site";
}

namespace {

// A status as a failing check leaves it: a code and the place of the check.
CComPtr<IStatus> CancelledAt(const char* file, int line)
{
    auto* status = new CStatus(kStatusCancelled, 0);
    status->RecordSource(file, line);
    return CComPtr<IStatus>::Adopt(status);
}

} // namespace

TEST(ShowStatus, ShowsTheStatusTextInTheApplicationsWarningBox)
{
    QWidget owner;
    CModalProbe probe;
    ShowStatus(CancelledAt("filters/median/MedianFilter.cpp", 42).Get(), &owner, false);
    ASSERT_TRUE(probe.Opened()) << "no message box opened";
    EXPECT_EQ(probe.className, QStringLiteral("QMessageBox"));
    EXPECT_EQ(probe.text, QStringLiteral("The operation was canceled."));
    EXPECT_EQ(probe.icon, QMessageBox::Warning);
    EXPECT_EQ(probe.title, QApplication::applicationDisplayName());
    EXPECT_EQ(probe.parent, &owner);
    EXPECT_EQ(probe.opened, 1);
}

TEST(ShowStatus, TheDiagnosticsSwitchAddsTheFileAndLineOfTheCheck)
{
    CModalProbe probe;
    ShowStatus(CancelledAt("filters/median/MedianFilter.cpp", 42).Get(), nullptr, true);
    ASSERT_TRUE(probe.Opened()) << "no message box opened";
    EXPECT_EQ(probe.text, QStringLiteral("The operation was canceled.\nFile: filters/median/MedianFilter.cpp, Line: 42"));
}

TEST(ShowStatus, ASystemErrorShowsTheSystemsTextCaptionedError)
{
    CModalProbe probe;
    auto status = CComPtr<IStatus>::Adopt(new CStatus(SystemErrorNumber{ENOENT}, 0));
    ShowStatus(status.Get(), nullptr, false);
    ASSERT_TRUE(probe.Opened()) << "no message box opened";
    EXPECT_EQ(probe.text, QStringLiteral("No such file or directory"));
    EXPECT_EQ(probe.icon, QMessageBox::Critical);
    EXPECT_EQ(probe.title, QStringLiteral("Error"));
}

TEST(ShowStatus, ADisplayableStatusFillsItsOwnDialog)
{
    CFakeDisplayable displayable;
    CModalProbe probe;
    {
        auto status = CComPtr<IStatus>::Adopt(new CStatus(static_cast<IDisplayable*>(&displayable)));
        ShowStatus(status.Get(), nullptr, true);
    }
    ASSERT_TRUE(probe.Opened()) << "no dialog opened";
    EXPECT_EQ(probe.className, QStringLiteral("QDialog"));
    EXPECT_EQ(probe.size, QSize(CFakeDisplayable::kWidth, CFakeDisplayable::kHeight))
        << "the dialog takes the size of the status's window";
    EXPECT_EQ(displayable.displayed, 1);
    EXPECT_EQ(displayable.refs, 1u);
}

TEST(ShowStatus, NothingToShowOpensNothing)
{
    CModalProbe probe;
    ShowStatus(nullptr, nullptr, true);
    auto silent = CComPtr<IStatus>::Adopt(new CStatus(static_cast<StatusCode>(0), 0));
    ShowStatus(silent.Get(), nullptr, true);
    // An unknown system error number has no text to show either.
    auto unknown = CComPtr<IStatus>::Adopt(new CStatus(SystemErrorNumber{987654}, 0));
    ShowStatus(unknown.Get(), nullptr, true);
    EXPECT_FALSE(probe.Opened()) << "opened a " << probe.className.toStdString();
}
