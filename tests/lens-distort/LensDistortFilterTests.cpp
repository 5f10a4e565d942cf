// Lens Distort as the host drives it: Apply's contract on a copy with one progress
// step per row, the status of each refusal and of a stop, and the dialog's trackbar
// through the store and reload messages.

#include "tests/FilterDialogTest.h"
#include "tests/HostDoubles.h"
#include "tests/TestSupport.h"
#include "tests/lens-distort/LensDistortReference.h"

#include "Common/base/FilterFormat.h"
#include "filters/lens-distort/LensDistortDialog.h"
#include "filters/lens-distort/LensDistortFactory.h"
#include "filters/lens-distort/LensDistortFilter.h"
#include "plugin/SettingsInterfaces.h"

#include <QLabel>
#include <QSlider>


#include <gtest/gtest.h>

namespace {

using Call = CRecordingProgress::Call;
constexpr int kNever = CRecordingProgress::kNeverCancel;
constexpr int kWidth = 21;
constexpr int kHeight = 15;

CComPtr<CHostImage> Distinct(int width = kWidth, int height = kHeight)
{
    return MakeImage(width, height, DistinctPixel);
}

lens_reference::Picture PictureOf(CHostImage* image)
{
    lens_reference::Picture picture{image->Width(), image->Height(), {}};
    for (int y = 0; y < image->Height(); ++y)
        picture.pixels.insert(picture.pixels.end(), image->Row(y), image->Row(y) + image->Width());
    return picture;
}

CComPtr<IInteractiveFilter> LensFilter(IUnknown* source, const char16_t* format = u"DistortValue:0.060000\n")
{
    return CreateInteractiveFilter(FactoryOf<CLensDistortFactory>(), source, format);
}

IUnknown* AsUnknown(CHostImage* image)
{
    return static_cast<IImage*>(image);
}

} // namespace

// ---------------------------------------------------------------- apply

// Rows go in pairs outwards from the centre row 7; each step gives the rows written.
TEST(LensDistortFilter, DistortsACopyOneStepPerPairOfRows)
{
    auto source = Distinct();
    const auto before = PictureOf(source.Get()).pixels;
    auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create());
    CComPtr<IImage> result;
    ASSERT_TRUE(LensFilter(AsUnknown(source.Get()))->Apply(nullptr, result.Receive(), progress.Get(), nullptr));

    EXPECT_EQ(PictureOf(static_cast<CHostImage*>(result.Get())).pixels,
              lens_reference::Distorted(PictureOf(source.Get()), 0.06).pixels);
    EXPECT_EQ(PictureOf(source.Get()).pixels, before) << "the source is never changed";

    const auto& events = progress->Events();
    const std::vector<int> written = {0, 1, 3, 5, 7, 9, 11, 13};
    ASSERT_EQ(events.size(), written.size() + 2);
    EXPECT_EQ(events.front().call, Call::SetText);
    EXPECT_EQ(events.front().text, u"Lens distortion");
    for (size_t i = 0; i < written.size(); ++i) {
        const auto& step = events[i + 1];
        EXPECT_EQ(step.call, Call::Step);
        EXPECT_EQ(step.done, written[i]);
        EXPECT_EQ(step.total, kHeight);
    }
    EXPECT_EQ(events.back().call, Call::Finish);
    EXPECT_TRUE(events.back().success);
}

TEST(LensDistortFilter, AGivenInputWinsAndTheCoefficientComesFromTheText)
{
    auto defaultSource = Distinct();
    auto given = MakeImage(12, 9, [](int x, int y) { return DistinctPixel(y, x); });
    for (const auto& [format, k] : {std::pair{u"DistortValue:-0.100000\n", -0.1},
                                    std::pair{u"distortvalue:0.25\n", 0.25}, std::pair{u"DistortValue:0\n", 0.0}}) {
        CComPtr<IImage> result;
        ASSERT_TRUE(
            LensFilter(AsUnknown(defaultSource.Get()), format)->Apply(AsUnknown(given.Get()), result.Receive(), nullptr, nullptr));
        EXPECT_EQ(PictureOf(static_cast<CHostImage*>(result.Get())).pixels,
                  lens_reference::Distorted(PictureOf(given.Get()), k).pixels)
            << NarrowToUtf8(format);
    }
}

TEST(LensDistortFilter, RefusalsAndStopsCarryTheirCodes)
{
    auto source = Distinct();
    IUnknown* image = AsUnknown(source.Get());
    struct Case {
        const char* label;
        IUnknown* source;
        const char16_t* format;
        bool withResult;
        int code;
    };
    std::vector<CComPtr<CHostImage>> refusing = CloneRefusingSources(kWidth, kHeight);
    constexpr const char16_t* kValid = u"DistortValue:0.05\n";
    for (const Case& c : {
             Case{"no result pointer", image, kValid, false, 5},
             Case{"no coefficient, though the dialog would start at 0", image, u"Other:1\n", true, 6},
             Case{"an empty text", image, u"", true, 6},
             Case{"no ICloneable", AsUnknown(refusing[0].Get()), kValid, true, 6},
             Case{"Clone refused", AsUnknown(refusing[1].Get()), kValid, true, 6},
             Case{"a clone without IImage", AsUnknown(refusing[2].Get()), kValid, true, 6},
             Case{"a clone without IBitmap", AsUnknown(refusing[3].Get()), kValid, true, 6},
         }) {
        const FailedApply failed = ApplyExpectingFailure(LensFilter(c.source, c.format).Get(), nullptr, kNever, c.withResult);
        EXPECT_EQ(failed.code, c.code) << c.label;
        EXPECT_FALSE(failed.storedResult) << c.label;
        EXPECT_TRUE(failed.events.empty()) << c.label << ": refused before the text is announced";
    }

    // One step per pair of rows: kHeight / 2 + 1 of them.
    for (const int stopAt : {0, 4, kHeight / 2}) {
        const FailedApply failed = ApplyExpectingFailure(LensFilter(image).Get(), nullptr, stopAt);
        EXPECT_EQ(failed.code, 8) << stopAt;
        EXPECT_FALSE(failed.storedResult) << stopAt;
        ASSERT_EQ(static_cast<int>(failed.events.size()), stopAt + 3) << "the text, the steps, the end";
        EXPECT_EQ(failed.events.back().call, Call::Finish);
        EXPECT_FALSE(failed.events.back().success);
    }
}

// ---------------------------------------------------------------- dialog

namespace {

class LensDistortDialog : public FilterDialogTest {
protected:
    CDlgLensDistort* Open()
    {
        MakeFilter(FactoryOf<CLensDistortFactory>(), Distinct());
        return OpenDialogOf<CDlgLensDistort>();
    }
};

} // namespace

TEST_F(LensDistortDialog, OpensInTheMiddleWithTheEndsNamedAndStoresAtOnce)
{
    CDlgLensDistort* dialog = Open();
    QSlider* slider = dialog->CoefficientSlider();
    EXPECT_EQ(Text(), u"") << "the first store is posted, not sent";
    PumpPostedEvents();
    EXPECT_EQ(Text(), u"DistortValue:0.000000\n");
    EXPECT_EQ(site->ChangeCount(), 1);
    EXPECT_EQ(slider->minimum(), 0);
    EXPECT_EQ(slider->maximum(), 1000);
    EXPECT_EQ(slider->value(), 500);
    EXPECT_EQ(slider->tickInterval(), 250);

    auto settings = CComPtr<IFilterSettings>::Query(static_cast<IFilterFactory*>(&FactoryOf<CLensDistortFactory>()),
                                                    IID_IFilterSettings);
    ASSERT_TRUE(settings);
    ASSERT_EQ(settings->GetSettingCount(), 1);
    const SettingDeclaration& declared = *settings->GetSetting(0);
    EXPECT_EQ(WString(declared.key), u"DistortValue");
    EXPECT_EQ(declared.type, SettingType::Real);
    EXPECT_EQ(declared.minimum, -0.1);
    EXPECT_EQ(declared.maximum, 0.1);
    EXPECT_EQ(declared.start, 0.0);

    const auto labels = dialog->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 2);
    EXPECT_EQ(labels[0]->text(), QStringLiteral("Pincushion"));
    EXPECT_EQ(labels[1]->text(), QStringLiteral("Barrel"));
    dialog->resize(400, 80);
    dialog->show();
    PumpPostedEvents();
    EXPECT_LT(labels[0]->geometry().right(), labels[1]->geometry().left()) << "pincushion on the left";
}

// Each position is a fifth of a thousandth: 750 is 0.75 x 0.2 - 0.1.
TEST_F(LensDistortDialog, PositionsStoreTheirCoefficients)
{
    CDlgLensDistort* dialog = Open();
    PumpPostedEvents();
    QSlider* slider = dialog->CoefficientSlider();
    const std::pair<int, const char16_t*> stores[] = {{750, u"DistortValue:0.050000\n"},
                                                      {0, u"DistortValue:-0.100000\n"},
                                                      {1000, u"DistortValue:0.100000\n"},
                                                      {1, u"DistortValue:-0.099800\n"}};
    for (const auto& [position, text] : stores) {
        slider->setValue(position);
        PumpPostedEvents();
        EXPECT_EQ(Text(), text) << position;
    }
    EXPECT_EQ(site->ChangeCount(), 5);

    // The apply reads what the dialog stored.
    slider->setValue(900);
    PumpPostedEvents();
    CComPtr<IImage> result;
    ASSERT_TRUE(filter->Apply(nullptr, result.Receive(), nullptr, nullptr));
    EXPECT_EQ(PictureOf(static_cast<CHostImage*>(result.Get())).pixels,
              lens_reference::Distorted(PictureOf(source.Get()), 0.08).pixels);
}

// (value + 0.1) / 0.2 x 1000, plus a half, truncated: 0.01234 is 561.7 + 0.5, and
// -0.03771 is 311.45 + 0.5.
TEST_F(LensDistortDialog, ReloadsTheNearestPositionAndKeepsItWhereTheKeyIsMissing)
{
    CDlgLensDistort* dialog = Open();
    PumpPostedEvents();
    QSlider* slider = dialog->CoefficientSlider();
    const std::pair<const char16_t*, int> reloads[] = {
        {u"DistortValue:0.05\n", 750},   {u"Other:3\n", 750},          {u"DISTORTVALUE:0.01234\n", 562},
        {u"DistortValue:-0.03771\n", 311}, {u"DistortValue:0.5\n", 1000}, {u"DistortValue:-7\n", 0},
        {u"DistortValue:nan\n", 0}};
    for (const auto& [format, position] : reloads) {
        filter->SetFormat(format);
        PumpPostedEvents();
        EXPECT_EQ(slider->value(), position) << NarrowToUtf8(format);
    }
    EXPECT_EQ(site->ChangeCount(), 1) << "a reload stores nothing";
}
