// What the factories declare of their filters' settings, checked against the filters'
// own dialogs: the value each dialog starts with and the ends of its controls.

#include "tests/TestSupport.h"

#include "Common/base/FilterFormat.h"
#include "Common/dialogs/FlexPropertySheet.h"
#include "Common/dialogs/NumericEdit.h"
#include "Common/params/ParamList.h"
#include "filters/brightness-contrast/BrightnessContrastDialog.h"
#include "filters/brightness-contrast/BrightnessContrastFactory.h"
#include "filters/invert/InvertDialog.h"
#include "filters/invert/InvertFactory.h"
#include "filters/median/MedianDialog.h"
#include "filters/median/MedianFactory.h"
#include "filters/resize/ResizeDialog.h"
#include "filters/resize/ResizeFactory.h"
#include "filters/resize/ResizeSettings.h"
#include "filters/sharpen/SharpenDialog.h"
#include "filters/sharpen/SharpenFactory.h"
#include "filters/sharpen/SharpenGaussianBlurPage.h"
#include "filters/sharpen/SharpenUnsharpMaskPage.h"
#include "platform/DialogMessage.h"
#include "plugin/SettingsInterfaces.h"
#include "refhost/PluginHost.h"
#include "refhost/PreviewSite.h"

#include <QCheckBox>
#include <QSlider>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace {

std::vector<SettingDeclaration> DeclarationsOf(CFilterFactoryBase& factory)
{
    auto settings = CComPtr<IFilterSettings>::Query(static_cast<IFilterFactory*>(&factory), IID_IFilterSettings);
    std::vector<SettingDeclaration> declarations;
    if (!settings) return declarations;
    for (int i = 0; i < settings->GetSettingCount(); ++i) declarations.push_back(*settings->GetSetting(i));
    EXPECT_EQ(settings->GetSetting(settings->GetSettingCount()), nullptr);
    EXPECT_EQ(settings->GetSetting(-1), nullptr);
    return declarations;
}

std::string Lowered(const char16_t* key)
{
    std::string text = NarrowToUtf8(key);
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool IsNumber(SettingType type)
{
    return type == SettingType::Integer || type == SettingType::Real || type == SettingType::Flag;
}

// A filter of factory with its dialog open under a parent window, the first store
// delivered.
class OpenDialog {
public:
    explicit OpenDialog(CFilterFactoryBase& factory)
    {
        source = MakeImage(64, 48, DistinctPixel);
        source->SetResolution(150, 72);
        filter = CreateInteractiveFilter(factory, static_cast<IImage*>(source.Get()), nullptr);
        site = CComPtr<CPreviewSite>::Adopt(CPreviewSite::Create(nullptr));
        filter->SetPreviewSite(site.Get());
        dialog = WidgetOfHandle(filter->CreateDialog(HandleOfWidget(&parent), nullptr));
        PumpPostedEvents();
    }
    ~OpenDialog() { filter->DestroyDialog(); }

    CParamList Stored() const { return CParamList(ReadFilterFormat(filter.Get()).c_str()); }

    // The value the dialog stores for key; NaN when it stores none.
    double StoredValue(const char16_t* key) const
    {
        double value = std::nan("");
        Stored().GetDouble(key, value);
        return value;
    }

    // Moves slider to its first and last position and reads what each stores.
    std::pair<double, double> Ends(QSlider* slider, const char16_t* key)
    {
        slider->setValue(slider->minimum());
        slider->sliderReleased();
        PumpPostedEvents();
        const double first = StoredValue(key);
        slider->setValue(slider->maximum());
        slider->sliderReleased();
        PumpPostedEvents();
        return {first, StoredValue(key)};
    }

    QWidget parent;
    CComPtr<CHostImage> source;
    CComPtr<IInteractiveFilter> filter;
    CComPtr<CPreviewSite> site;
    QWidget* dialog = nullptr;
};

// The dialog starts its slider at the step nearest the declared start: what it
// stores lies within half a step of it.
void ExpectStartsNear(const SettingDeclaration& setting, double stored)
{
    const double halfStep = (setting.maximum - setting.minimum) / 200.0;
    EXPECT_NEAR(stored, setting.start, halfStep) << NarrowToUtf8(setting.key);
}

void ExpectEnds(const SettingDeclaration& setting, std::pair<double, double> ends)
{
    EXPECT_DOUBLE_EQ(ends.first, setting.minimum) << NarrowToUtf8(setting.key);
    EXPECT_DOUBLE_EQ(ends.second, setting.maximum) << NarrowToUtf8(setting.key);
}

} // namespace

TEST(SettingsDeclaration, OnlyFiltersWithSettingsDeclareThemAndEveryDeclarationHoldsTogether)
{
    const std::set<std::string> withSettings{"Brightness and Contrast", "Resize", "Median", "Sharpen", "Color\\Invert",
                                             "Color\\Exposure", "Rotate", "Autofix Image", "Color\\Color Balance",
                                             "Noise", "Hot Pixel Fixer", "Lens Distort", "Frames"};
    for (CFilterFactoryBase* factory : ModuleFactories()) {
        const std::string name = NarrowToUtf8(factory->GetName());
        const std::vector<SettingDeclaration> declarations = DeclarationsOf(*factory);
        EXPECT_EQ(!declarations.empty(), withSettings.count(name) == 1) << name;

        std::set<std::string> keys;
        std::set<std::string> pages;
        for (const SettingDeclaration& setting : declarations) {
            EXPECT_TRUE(keys.insert(Lowered(setting.key)).second) << name << ": keys differ in more than case";
            EXPECT_NE(std::u16string_view(setting.description), u"") << name;
            if (setting.type == SettingType::Page) {
                for (const char16_t* const* choice = setting.choices; *choice != nullptr; ++choice)
                    pages.insert(NarrowToUtf8(*choice));
                EXPECT_EQ(pages.count(NarrowToUtf8(setting.startText)), 1u) << name << ": the start page is a choice";
            } else if (setting.startFrom == SettingStart::Fixed && IsNumber(setting.type)) {
                EXPECT_LE(setting.minimum, setting.start) << NarrowToUtf8(setting.key);
                EXPECT_LE(setting.start, setting.maximum) << NarrowToUtf8(setting.key);
            }
        }
        for (const SettingDeclaration& setting : declarations) {
            if (setting.page == nullptr) continue;
            EXPECT_EQ(pages.count(NarrowToUtf8(setting.page)), 1u) << name;
        }
    }
}

TEST(SettingsDeclaration, BrightnessAndContrastSlidersStartAndEndWhereDeclared)
{
    OpenDialog open(FactoryOf<CInteractiveBrightnessContrastFactory>());
    auto* dialog = static_cast<CDlgInteractiveBrightnessContrast*>(open.dialog);
    const auto declarations = DeclarationsOf(FactoryOf<CInteractiveBrightnessContrastFactory>());
    ASSERT_EQ(declarations.size(), 2u);
    QSlider* const sliders[] = {dialog->BrightnessSlider(), dialog->ContrastSlider()};
    for (size_t i = 0; i < 2; ++i) ExpectStartsNear(declarations[i], open.StoredValue(declarations[i].key));
    for (size_t i = 0; i < 2; ++i) ExpectEnds(declarations[i], open.Ends(sliders[i], declarations[i].key));
}

TEST(SettingsDeclaration, MedianSliderStartsAndEndsWhereDeclared)
{
    OpenDialog open(FactoryOf<CInteractiveMedianFactory>());
    const auto declarations = DeclarationsOf(FactoryOf<CInteractiveMedianFactory>());
    ASSERT_EQ(declarations.size(), 1u);
    EXPECT_EQ(open.StoredValue(declarations[0].key), declarations[0].start);
    ExpectEnds(declarations[0], open.Ends(static_cast<CInteractiveMedianDlg*>(open.dialog)->SizeSlider(),
                                          declarations[0].key));
}

TEST(SettingsDeclaration, InvertBoxesStartAndEndWhereDeclared)
{
    OpenDialog open(FactoryOf<CInvertFactory>());
    auto* dialog = static_cast<CInteractiveInvertDlg*>(open.dialog);
    const auto declarations = DeclarationsOf(FactoryOf<CInvertFactory>());
    ASSERT_EQ(declarations.size(), 3u);
    QCheckBox* const boxes[] = {dialog->RedBox(), dialog->GreenBox(), dialog->BlueBox()};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(declarations[i].type, SettingType::Flag);
        EXPECT_EQ(open.StoredValue(declarations[i].key), declarations[i].start);
        boxes[i]->click();
        EXPECT_EQ(open.StoredValue(declarations[i].key), declarations[i].minimum);
        boxes[i]->click();
        EXPECT_EQ(open.StoredValue(declarations[i].key), declarations[i].maximum);
    }
}

TEST(SettingsDeclaration, SharpenPagesStartAndEndWhereDeclared)
{
    OpenDialog open(FactoryOf<CInteractiveSharpnessFactory>());
    auto* sheet = static_cast<CSharpenSheet*>(open.dialog);
    const auto declarations = DeclarationsOf(FactoryOf<CInteractiveSharpnessFactory>());
    ASSERT_EQ(declarations.size(), 5u);
    ASSERT_EQ(declarations[0].type, SettingType::Page);
    EXPECT_EQ(WString(open.Stored().Get(declarations[0].key)), declarations[0].startText) << "the page shown first";

    sheet->Sheet()->SetActivePage(CSharpenSheet::kGaussianBlurIndex);
    PumpPostedEvents();
    for (size_t i = 1; i < declarations.size(); ++i) ExpectStartsNear(declarations[i], open.StoredValue(declarations[i].key));

    const CSharpenUnsharpMaskPage* mask = sheet->UnsharpMaskPage();
    QSlider* const sliders[] = {mask->SizeSlider(), mask->AmountSlider(), mask->ThresholdSlider(),
                                sheet->GaussianBlurPage()->SizeSlider()};
    for (size_t i = 1; i < declarations.size(); ++i) {
        const bool onMask = WString(declarations[i].page) == WString(kUnsharpMaskPageName);
        sheet->Sheet()->SetActivePage(onMask ? CSharpenSheet::kUnsharpMaskIndex : CSharpenSheet::kGaussianBlurIndex);
        ExpectEnds(declarations[i], open.Ends(sliders[i - 1], declarations[i].key));
    }
}

TEST(SettingsDeclaration, ResizeStartsFromTheDeclarationAndThePhotoAndRefusesBeyondTheSizes)
{
    auto host = CComPtr<IPluginHost>::Adopt(CPluginHost::Create(0x0409));
    FactoryOf<CInteractiveResizeFactory>().Initialize(host.Get(), 0);
    {
        OpenDialog open(FactoryOf<CInteractiveResizeFactory>());
        const CParamList stored = open.Stored();
        // What the photo gives: 64 x 48 pixels at 150 x 72 dots per inch.
        const std::vector<double> fromPhoto{64, 48, 150, 72, 64, 48};
        size_t photoValue = 0;
        for (const SettingDeclaration& setting : DeclarationsOf(FactoryOf<CInteractiveResizeFactory>())) {
            const double value = open.StoredValue(setting.key);
            if (setting.startFrom == SettingStart::FromPhoto) {
                ASSERT_LT(photoValue, fromPhoto.size());
                EXPECT_EQ(value, fromPhoto[photoValue++]) << NarrowToUtf8(setting.key);
            } else {
                EXPECT_EQ(value, setting.start) << NarrowToUtf8(setting.key);
            }
        }
        EXPECT_EQ(photoValue, fromPhoto.size());

        auto* dialog = static_cast<CDlgInteractiveResize*>(open.dialog);
        dialog->ConstrainBox()->setChecked(false);  // the height stays as it is
        const auto enter = [&](const QString& width) {
            dialog->WidthEdit()->setText(width);
            PumpPostedEvents();
            return open.StoredValue(kResizerWidthKey);
        };
        EXPECT_EQ(enter(QString::number(kResizerWidthSetting.minimum)), kResizerWidthSetting.minimum);
        EXPECT_EQ(enter(QString::number(kResizerWidthSetting.minimum - 1)), kResizerWidthSetting.minimum)
            << "one pixel less is refused and nothing is stored";
        EXPECT_EQ(enter(QString::number(kResizerWidthSetting.maximum)), kResizerWidthSetting.maximum);
        EXPECT_EQ(enter(QString::number(kResizerWidthSetting.maximum + 1)), kResizerWidthSetting.maximum);
    }
    FactoryOf<CInteractiveResizeFactory>().Uninitialize(0);
}
