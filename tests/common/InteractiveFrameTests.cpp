// The settings-dialog frame driven as a host drives it: a real dialog under a
// parent widget, posted messages pumped, the preview site counting re-applies.

#include "tests/FilterDialogTest.h"
#include "tests/TestSupport.h"

#include "Common/base/FilterFormat.h"
#include "Common/base/InteractiveInterfaces.h"
#include "Common/params/ParamList.h"
#include "filters/brightness-contrast/BrightnessContrastDialog.h"
#include "filters/brightness-contrast/BrightnessContrastFactory.h"
#include "platform/DialogMessage.h"
#include "plugin/ModuleFactories.h"
#include "refhost/PreviewSite.h"

#include <QCoreApplication>
#include <QSlider>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

// A brightness and contrast filter with its preview site and an open dialog.
class BrightnessContrastDialog : public FilterDialogTest {
protected:
    void SetUp() override { MakeFilter(FactoryOf<CInteractiveBrightnessContrastFactory>(), MakeImage(6, 4, DistinctPixel)); }

    CDlgInteractiveBrightnessContrast* OpenDialog() { return OpenDialogOf<CDlgInteractiveBrightnessContrast>(); }
};

} // namespace

TEST_F(BrightnessContrastDialog, OpeningStoresTheDefaultsOnce)
{
    OpenDialog();
    EXPECT_EQ(site->ChangeCount(), 0) << "the store message is posted, not sent";
    PumpPostedEvents();
    EXPECT_EQ(site->ChangeCount(), 1);
    EXPECT_EQ(ReadFilterFormat(filter.Get()), u"BrightnessValue:0.000000\nContrastValue:1.000000\n");
    // The preview was re-applied with the defaults: an unchanged picture.
    ASSERT_NE(site->LastResult(), nullptr);
    EXPECT_EQ(reinterpret_cast<uint32_t*>(site->LastResult()->GetPixels())[5], DistinctPixel(5, 0));
}

TEST_F(BrightnessContrastDialog, MovingASliderStoresItsValueAndNotifiesOnce)
{
    CDlgInteractiveBrightnessContrast* dialog = OpenDialog();
    PumpPostedEvents();
    const int before = site->ChangeCount();
    dialog->BrightnessSlider()->setValue(69);
    PumpPostedEvents();
    EXPECT_EQ(site->ChangeCount(), before + 1);
    EXPECT_DOUBLE_EQ(StoredValue(u"BrightnessValue"), 38.0);
    EXPECT_EQ(ReadFilterFormat(filter.Get()), u"BrightnessValue:38.000000\nContrastValue:1.000000\n");
    // The reload that the store's SetFormat posted moves nothing and stores nothing.
    PumpPostedEvents();
    EXPECT_EQ(site->ChangeCount(), before + 1);
}

TEST_F(BrightnessContrastDialog, SetFormatFromAnotherThreadReloadsTheControls)
{
    CDlgInteractiveBrightnessContrast* dialog = OpenDialog();
    PumpPostedEvents();
    const int before = site->ChangeCount();
    std::thread other([&] { filter->SetFormat(u"BrightnessValue:36.0\nContrastValue:0.5\n"); });
    other.join();
    PumpPostedEvents();
    EXPECT_EQ(dialog->BrightnessSlider()->value(), 68);
    EXPECT_EQ(dialog->ContrastSlider()->value(), 25);
    EXPECT_EQ(site->ChangeCount(), before) << "a reload does not store";
    EXPECT_EQ(ReadFilterFormat(filter.Get()), u"BrightnessValue:36.0\nContrastValue:0.5\n");
}

TEST_F(BrightnessContrastDialog, AQueuedReloadOfItsOwnStoreDoesNotUndoTheUser)
{
    CDlgInteractiveBrightnessContrast* dialog = OpenDialog();
    // The opening store runs and queues its reload; the user moves a slider first.
    QCoreApplication::sendPostedEvents();
    dialog->BrightnessSlider()->setValue(90);
    PumpPostedEvents();
    EXPECT_EQ(dialog->BrightnessSlider()->value(), 90);
    EXPECT_DOUBLE_EQ(StoredValue(u"BrightnessValue"), 80.0);
}

TEST_F(BrightnessContrastDialog, AMissingKeyLeavesItsControlAlone)
{
    CDlgInteractiveBrightnessContrast* dialog = OpenDialog();
    PumpPostedEvents();
    dialog->ContrastSlider()->setValue(80);
    PumpPostedEvents();
    filter->SetFormat(u"BrightnessValue:-100\n");
    PumpPostedEvents();
    EXPECT_EQ(dialog->BrightnessSlider()->value(), 0);
    EXPECT_EQ(dialog->ContrastSlider()->value(), 80);
}

TEST_F(BrightnessContrastDialog, SlidersStartInTheMiddleWithTicksAtTheQuarters)
{
    CDlgInteractiveBrightnessContrast* dialog = OpenDialog();
    for (QSlider* slider : {dialog->BrightnessSlider(), dialog->ContrastSlider()}) {
        EXPECT_EQ(slider->minimum(), 0);
        EXPECT_EQ(slider->maximum(), 100);
        EXPECT_EQ(slider->value(), 50);
        EXPECT_EQ(slider->tickInterval(), 25);
        EXPECT_EQ(slider->tickPosition(), QSlider::TicksBelow);
    }
}

// A parameter text may carry what strtod reads as not-a-number or infinity: such a
// number counts as no value, so each slider stays where it was, as for a missing key.
TEST_F(BrightnessContrastDialog, ValuesThatAreNotNumbersOrInfiniteLeaveTheSliderWhereItWas)
{
    CDlgInteractiveBrightnessContrast* dialog = OpenDialog();
    PumpPostedEvents();
    filter->SetFormat(u"BrightnessValue:nan\nContrastValue:inf\n");
    PumpPostedEvents();
    EXPECT_EQ(dialog->BrightnessSlider()->value(), 50);
    EXPECT_EQ(dialog->ContrastSlider()->value(), 50);
    filter->SetFormat(u"BrightnessValue:-100\nContrastValue:2\n");
    PumpPostedEvents();
    filter->SetFormat(u"BrightnessValue:-inf\nContrastValue:-nan\n");
    PumpPostedEvents();
    EXPECT_EQ(dialog->BrightnessSlider()->value(), 0);
    EXPECT_EQ(dialog->ContrastSlider()->value(), 100);
}

TEST_F(BrightnessContrastDialog, NullFormatKeepsTheTextButStillReloads)
{
    CDlgInteractiveBrightnessContrast* dialog = OpenDialog();
    PumpPostedEvents();
    filter->SetFormat(u"BrightnessValue:50\nContrastValue:1\n");
    PumpPostedEvents();
    {
        const QSignalBlocker quiet(dialog->BrightnessSlider());
        dialog->BrightnessSlider()->setValue(10);
    }
    filter->SetFormat(nullptr);
    PumpPostedEvents();
    EXPECT_EQ(dialog->BrightnessSlider()->value(), 75);
    EXPECT_EQ(ReadFilterFormat(filter.Get()), u"BrightnessValue:50\nContrastValue:1\n");
}

TEST_F(BrightnessContrastDialog, OneDialogAtATime)
{
    CComPtr<IStatus> status;
    EXPECT_EQ(filter->CreateDialog(nullptr, status.Receive()), nullptr);
    ASSERT_TRUE(status);
    EXPECT_EQ(status->GetCode(), 5);
    EXPECT_FALSE(filter->HasDialog());

    OpenDialog();
    EXPECT_TRUE(filter->HasDialog());
    EXPECT_EQ(filter->CreateDialog(HandleOfWidget(&parent), nullptr), nullptr);
    EXPECT_TRUE(filter->HasDialog());
    EXPECT_TRUE(filter->DestroyDialog());
    EXPECT_FALSE(filter->HasDialog());
    EXPECT_FALSE(filter->DestroyDialog());
    EXPECT_TRUE(parent.findChildren<CDlgInteractiveBrightnessContrast*>().isEmpty());
    PumpPostedEvents();
    EXPECT_EQ(site->ChangeCount(), 0) << "messages to a destroyed dialog are dropped";
}

TEST_F(BrightnessContrastDialog, ADialogDestroyedWithItsParentIsForgotten)
{
    auto* container = new QWidget(&parent);
    EXPECT_NE(filter->CreateDialog(HandleOfWidget(container), nullptr), nullptr);
    delete container;
    EXPECT_FALSE(filter->HasDialog());
    EXPECT_FALSE(filter->DestroyDialog());
}

TEST_F(BrightnessContrastDialog, TheDialogHoldsTheFilterAndSiteWhileItLives)
{
    const ULONG filterRefs = RefCountOf(filter.Get());
    const ULONG siteRefs = RefCountOf(static_cast<IPreviewSite*>(site.Get()));
    OpenDialog();
    EXPECT_EQ(RefCountOf(filter.Get()), filterRefs + 1);
    EXPECT_EQ(RefCountOf(static_cast<IPreviewSite*>(site.Get())), siteRefs + 1);
    filter->DestroyDialog();
    EXPECT_EQ(RefCountOf(filter.Get()), filterRefs);
    EXPECT_EQ(RefCountOf(static_cast<IPreviewSite*>(site.Get())), siteRefs);
}

// Each filter checks the parent itself: every one with a dialog refuses to make it
// without a parent window, with status 5 and no dialog left behind.
TEST(InteractiveFilter, EveryDialogNeedsAParentWindow)
{
    auto source = MakeImage(8, 8, DistinctPixel);
    int dialogs = 0;
    for (CFilterFactoryBase* factory : ModuleFactories()) {
        const std::string name = NarrowToUtf8(factory->GetName());
        CComPtr<IFilter> made;
        ASSERT_TRUE(factory->CreateFilter(static_cast<IImage*>(source.Get()), made.Receive(), nullptr)) << name;
        const auto filter = CComPtr<IInteractiveFilter>::Query(made.Get(), IID_IInteractiveFilter);
        if (!filter) continue;
        ++dialogs;
        CComPtr<IStatus> status;
        EXPECT_EQ(filter->CreateDialog(nullptr, status.Receive()), nullptr) << name;
        ASSERT_TRUE(status) << name;
        EXPECT_EQ(status->GetCode(), 5) << name;
        EXPECT_FALSE(filter->HasDialog()) << name;
    }
    EXPECT_EQ(dialogs, 15) << "the thirteen listed with a dialog, Red Eye Reduction and Frames";
}

TEST(InteractiveFilter, FormatBufferSizes)
{
    auto source = MakeImage(1, 1, DistinctPixel);
    CComPtr<IFilter> filter;
    ASSERT_TRUE(FactoryOf<CInteractiveBrightnessContrastFactory>().CreateFilter(static_cast<IImage*>(source.Get()), filter.Receive(), nullptr));
    EXPECT_EQ(filter->GetFormat(nullptr, 0), 1) << "an empty text still needs its terminator";
    filter->SetFormat(u"a:1\n");
    EXPECT_EQ(filter->GetFormat(nullptr, 0), 5);
    char16_t exact[5] = {};
    EXPECT_EQ(filter->GetFormat(exact, 5), 5);
    EXPECT_EQ(WString(exact), u"a:1\n");
    char16_t shorter[4] = {u'x', u'x', u'x', u'x'};
    EXPECT_EQ(filter->GetFormat(shorter, 4), -1);
    EXPECT_EQ(shorter[0], u'x') << "nothing copied";
}

TEST(InteractiveFilter, AnswersItsInterfaces)
{
    auto source = MakeImage(1, 1, DistinctPixel);
    CComPtr<IFilter> filter;
    ASSERT_TRUE(FactoryOf<CInteractiveBrightnessContrastFactory>().CreateFilter(static_cast<IImage*>(source.Get()), filter.Receive(), nullptr));
    EXPECT_TRUE(filter->IsInteractive());
    EXPECT_FALSE(filter->FilterReserved4(7));
    auto interactive = CComPtr<IInteractiveFilter>::Query(filter.Get(), IID_IInteractiveFilter);
    ASSERT_TRUE(interactive);
    EXPECT_EQ(static_cast<IFilter*>(interactive.Get()), filter.Get());
    auto ready = CComPtr<IAreYouReady>::Query(filter.Get(), IID_IAreYouReady);
    ASSERT_TRUE(ready);
    EXPECT_TRUE(ready->IsReady(0));
    EXPECT_NE(static_cast<void*>(ready.Get()), static_cast<void*>(filter.Get())) << "a part of its own";
    void* object = nullptr;
    EXPECT_EQ(filter->QueryInterface(IID_IStatus, &object), E_NOINTERFACE);

    auto site = CComPtr<CPreviewSite>::Adopt(CPreviewSite::Create(nullptr));
    interactive->SetPreviewSite(site.Get());
    EXPECT_EQ(RefCountOf(static_cast<IPreviewSite*>(site.Get())), 2u);
    interactive->SetPreviewSite(nullptr);
    EXPECT_EQ(RefCountOf(static_cast<IPreviewSite*>(site.Get())), 1u);
}
