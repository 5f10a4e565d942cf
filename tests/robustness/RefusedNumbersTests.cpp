// Numbers no setting may hold (NaN, infinities, magnitudes far past any dialog's
// range) are refused where a parameter text is read: each filter of the loaded
// module then does exactly what it does when the key is missing, and the
// command-line tool refuses them before the filter runs.

#include "tests/CliRunner.h"
#include "tests/robustness/FaultyHost.h"
#include "tests/robustness/FaultyModuleTest.h"

#include "Common/base/InteractiveInterfaces.h"
#include "Common/params/ParamList.h"
#include "Common/params/SettingNumbers.h"
#include "Common/params/ShapeText.h"
#include "platform/ComPtr.h"
#include "refhost/FilterCatalog.h"
#include "refhost/ModuleLoader.h"
#include "refhost/PreviewSite.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char16_t* const kRefusedNumbers[] = {u"nan",  u"-nan",  u"NAN(12)", u"inf",          u"-inf", u"infinity",
                                           u"1e309", u"1e300", u"-1e10",  u"1000000001", u"-99999999999999999999"};

TEST(RefusedNumbers, TheParameterListReadsThemAsMissingKeys)
{
    for (const char16_t* text : kRefusedNumbers) {
        CParamList list;
        list.Set(u"n", text);
        int whole = 77;
        double real = 7.5;
        RECT rect{9, 8, 7, 6};
        EXPECT_FALSE(list.GetInt(u"n", whole)) << NarrowToUtf8(text);
        EXPECT_FALSE(list.GetDouble(u"n", real)) << NarrowToUtf8(text);
        EXPECT_EQ(whole, 77) << NarrowToUtf8(text);
        EXPECT_EQ(real, 7.5) << NarrowToUtf8(text);
        list.Set(u"r", (u"1|2|3|" + WString(text)).c_str());
        EXPECT_FALSE(list.GetRect(u"r", rect)) << NarrowToUtf8(text);
        EXPECT_EQ(rect, (RECT{0, 0, 0, 0}));
        ShapeNumbers shape{1, 2, 3, 4};
        EXPECT_FALSE(ReadShapeText((u"1 2 3 " + WString(text)).c_str(), shape)) << NarrowToUtf8(text);
        EXPECT_EQ(shape, (ShapeNumbers{1, 2, 3, 4}));
    }
}

TEST(RefusedNumbers, TheBoundItselfAndEverythingWithinIsRead)
{
    const CParamList list(u"a:1000000000\nb:-1000000000\nc:1e9\nd:-1e-320\ne:16777215\nf:0.000001xyz\n");
    int whole = 0;
    double real = 0.0;
    ASSERT_TRUE(list.GetInt(u"a", whole));
    EXPECT_EQ(whole, 1000000000);
    ASSERT_TRUE(list.GetInt(u"b", whole));
    EXPECT_EQ(whole, -1000000000);
    ASSERT_TRUE(list.GetDouble(u"c", real));
    EXPECT_EQ(real, 1e9);
    ASSERT_TRUE(list.GetDouble(u"d", real));
    EXPECT_LE(std::fabs(real), 1e-300);
    ASSERT_TRUE(list.GetInt(u"e", whole));
    EXPECT_EQ(whole, 16777215);
    ASSERT_TRUE(list.GetDouble(u"f", real));
    EXPECT_EQ(real, 0.000001);
    EXPECT_TRUE(IsSettingNumber(-kLargestSettingMagnitude));
    EXPECT_FALSE(IsSettingNumber(std::nextafter(kLargestSettingMagnitude, INFINITY)));
    ShapeNumbers shape{};
    ASSERT_TRUE(ReadShapeText(u"-5 1000000000 3\t4 tail", shape));
    EXPECT_EQ(shape, (ShapeNumbers{-5, 1000000000, 3, 4}));
}

// What one apply gave, to compare a refused number with a missing key.
struct Outcome {
    bool applied = false;
    int code = 0;
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    bool operator==(const Outcome&) const = default;
};

std::string Describe(const Outcome& outcome)
{
    return outcome.applied ? "applied, " + std::to_string(outcome.width) + " x " + std::to_string(outcome.height)
                           : "failed with status " + std::to_string(outcome.code);
}

std::string NumberText(double value, SettingType type)
{
    char buffer[64];
    if (type == SettingType::Real) std::snprintf(buffer, sizeof buffer, "%f", value);
    else std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(value));
    return buffer;
}

// The text the tool's format command writes: every declared key at its start value,
// sizes taken from the photo given as a size that fits.
CParamList StartText(const FilterEntry& entry)
{
    CParamList list;
    for (const FilterSetting& setting : entry.settings) {
        if (setting.key.ends_with("%03d")) continue;
        const std::string value = setting.type == SettingType::Page ? setting.startText
                                  : setting.fromPhoto               ? std::string("24")
                                                                    : NumberText(setting.start, setting.type);
        list.Set(WidenUtf8(setting.key).c_str(), WidenUtf8(value).c_str());
    }
    return list;
}

class RefusedNumbersInFilters : public FaultyModuleTest {
protected:
    void SetUp() override
    {
        FaultyModuleTest::SetUp();
        source = CComPtr<CFaultyImage>::Adopt(CFaultyImage::Make(23, 17));
        auto* bits = reinterpret_cast<uint32_t*>(source->GetPixels());
        for (int i = 0; i < 23 * 17; ++i) bits[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u >> 8);
    }

    Outcome Apply(const FilterEntry& entry, const CParamList& text)
    {
        Outcome outcome;
        CComPtr<IFilter> filter;
        if (!entry.factory->CreateFilter(static_cast<IImage*>(source.Get()), filter.Receive(), nullptr)) return outcome;
        filter->SetFormat(text.ToString().c_str());
        auto site = CComPtr<CPreviewSite>::Adopt(CPreviewSite::Create(nullptr));
        site->SelectByUser(u"3 2 19 14");
        if (auto interactive = CComPtr<IInteractiveFilter>::Query(filter.Get(), IID_IInteractiveFilter)) {
            interactive->SetPreviewSite(site.Get());
        }
        CComPtr<IImage> result;
        CComPtr<IStatus> status;
        outcome.applied = filter->Apply(nullptr, result.Receive(), nullptr, status.Receive());
        outcome.code = status ? status->GetCode() : 0;
        if (result) {
            result->GetSize(&outcome.width, &outcome.height);
            const auto* bits = reinterpret_cast<const uint32_t*>(result->GetPixels());
            outcome.pixels.assign(bits, bits + static_cast<size_t>(outcome.width) * outcome.height);
        }
        return outcome;
    }

    CComPtr<CFaultyImage> source;
};

TEST_F(RefusedNumbersInFilters, EachFilterTreatsThemAsTheMissingKey)
{
    int compared = 0;
    for (const FilterEntry& entry : catalog->Entries()) {
        for (const FilterSetting& setting : entry.settings) {
            if (setting.type == SettingType::Page || setting.key.ends_with("%03d")) continue;
            CParamList without = StartText(entry);
            CParamList rebuilt;
            for (int i = 0; i < without.Count(); ++i) {
                if (NarrowToUtf8(WStringView(without.KeyAt(i))) != setting.key) {
                    rebuilt.Set(without.KeyAt(i), without.ValueAt(i));
                }
            }
            const Outcome missing = Apply(entry, rebuilt);
            // Filters that draw random numbers cannot be compared pixel by pixel.
            if (!(Apply(entry, rebuilt) == missing)) continue;
            for (const char16_t* refused : {u"nan", u"-inf", u"1e300", u"-99999999999"}) {
                CParamList with = StartText(entry);
                with.Set(WidenUtf8(setting.key).c_str(), refused);
                const Outcome outcome = Apply(entry, with);
                EXPECT_TRUE(outcome == missing) << entry.menuPath << ", " << setting.key << "=" << NarrowToUtf8(refused)
                                                << ": " << Describe(outcome) << ", without the key "
                                                << Describe(missing);
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 100) << "every number setting of every filter";
}

TEST(RefusedNumbersCli, TheToolRefusesThemAndNamesTheBound)
{
    QTemporaryDir directory;
    const QString output = directory.filePath(QStringLiteral("out.png"));
    const QString sample = QStringLiteral(BF_SOURCE_DIR "/samples/fruits.jpg");
    for (const char* value : {"nan", "inf", "-inf", "1e300"}) {
        const RunResult run =
            RunCli({"apply", "Brightness and Contrast", sample, output, "--set", QStringLiteral("ContrastValue=%1").arg(value)});
        EXPECT_EQ(run.exitCode, 2) << value << ": " << ::Describe(run);
        EXPECT_TRUE(run.err.contains("ContrastValue wants a number from -1000000000 to 1000000000")) << ::Describe(run);
    }
    const RunResult whole = RunCli({"apply", "Median", sample, output, "--set", "MedianSize=99999999999"});
    EXPECT_EQ(whole.exitCode, 2) << ::Describe(whole);
    EXPECT_TRUE(whole.err.contains("MedianSize wants a whole number from -1000000000")) << ::Describe(whole);
    EXPECT_FALSE(QFileInfo::exists(output));
    // Far outside the dialog's range but within the bound: warned of and passed on.
    const RunResult beyond = RunCli({"apply", "Brightness and Contrast", sample, output, "--set", "ContrastValue=5000"});
    EXPECT_EQ(beyond.exitCode, 0) << ::Describe(beyond);
    EXPECT_TRUE(beyond.err.contains("outside the dialog's range")) << ::Describe(beyond);
}

} // namespace
