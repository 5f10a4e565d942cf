// Recipes as text (written, read back, faults named by line) and checked against the
// real module before any photo is touched.

#include "platform/ComPtr.h"
#include "refhost/FilterCatalog.h"
#include "refhost/ModuleLoader.h"
#include "refhost/PluginHost.h"
#include "refhost/RecipePlan.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Shape = std::optional<std::array<int, 4>>;

RecipeStep Step(std::string filter, std::string text, Shape selection = std::nullopt, Shape line = std::nullopt)
{
    RecipeStep step;
    step.filter = std::move(filter);
    step.parameterText = std::move(text);
    step.selection = selection;
    step.line = line;
    return step;
}

void ExpectSameSteps(const CRecipe& read, const std::vector<RecipeStep>& expected)
{
    ASSERT_EQ(read.Steps().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const RecipeStep& step = read.Steps()[i];
        EXPECT_EQ(step.filter, expected[i].filter) << "step " << i;
        EXPECT_EQ(step.parameterText, expected[i].parameterText) << "step " << i;
        EXPECT_EQ(step.selection, expected[i].selection) << "step " << i;
        EXPECT_EQ(step.line, expected[i].line) << "step " << i;
    }
}

std::string ParseFault(const std::string& text)
{
    CRecipe recipe;
    std::string error;
    EXPECT_FALSE(CRecipe::Parse(text, recipe, error)) << text;
    return error;
}

} // namespace

TEST(RecipeText, WrittenStepsReadBackAsTheyWere)
{
    CRecipe recipe;
    const std::vector<RecipeStep> steps = {
        Step("Brightness and Contrast", "BrightnessValue:20\nContrastValue:1.2\n"),
        // Escaped colons and backslashes stay escaped: the filter reads the text.
        Step("Frames", "NameOfTheFrame:SingleFrameName\nNote:a\\:b\\\\c\n"),
        Step("Crop", "", std::array{0, 0, 256, 240}),
        Step("Rotate", "angle:4\n", std::nullopt, std::array{-3, 20, 180, 31}),
        Step("Rotate\\Flip Horizontal", ""),
    };
    for (const RecipeStep& step : steps) recipe.Add(step);
    const std::string text = recipe.ToText();
    EXPECT_EQ(text.substr(0, text.find('\n')), "BasicFilters recipe 1");
    CRecipe read;
    std::string error;
    ASSERT_TRUE(CRecipe::Parse(text, read, error)) << error << "\n" << text;
    ExpectSameSteps(read, steps);
    EXPECT_EQ(read.ToText(), text);
}

TEST(RecipeText, HandWrittenFileWithCommentsTabsAndWindowsLineEnds)
{
    const std::string text = "BasicFilters recipe 1\r\n"
                             "# straighten, then brighten\r\n"
                             "\r\n"
                             "filter   Rotate  \r\n"
                             "\tangle:4   \r\n"
                             "    # a comment inside a step\r\n"
                             "\tline 10 20 180 31\r\n"
                             "filter Brightness and Contrast\r\n"
                             "  BrightnessValue:+20\r\n";
    CRecipe read;
    std::string error;
    ASSERT_TRUE(CRecipe::Parse(text, read, error)) << error;
    ExpectSameSteps(read, {Step("Rotate", "angle:4\n", std::nullopt, std::array{10, 20, 180, 31}),
                           Step("Brightness and Contrast", "BrightnessValue:+20\n")});
    EXPECT_EQ(read.Steps()[0].lineNumber, 4);
    EXPECT_EQ(read.Steps()[1].lineNumber, 8);
}

TEST(RecipeText, FaultsNameTheirLine)
{
    struct Case {
        std::string text;
        std::string expected;
    };
    const std::string header = "BasicFilters recipe 1\n";
    for (const Case& fault : {
             Case{"", "line 1: not a recipe"},
             Case{"filter Crop\n", "line 1: not a recipe"},
             Case{"BasicFilters recipe 2\nfilter Crop\n", "line 1: a recipe of version '2'"},
             Case{"BasicFilters recipe\n", "line 1: not a recipe"},
             Case{header + "  BrightnessValue:3\n", "line 2: an indented line before the first 'filter' line"},
             Case{header + "filter Median\n  MedianSize:2\nMedianSize:3\n", "line 4: expected 'filter NAME'"},
             Case{header + "filter\n", "line 2: expected 'filter NAME'"},
             Case{header + "\n# note\nfilter Median\n  MedianSize:\n", "line 5: not a KEY:VALUE line"},
             Case{header + "filter Median\n  :2\n", "line 3: not a KEY:VALUE line"},
             Case{header + "filter Crop\n  selection 1,2,3\n", "line 3: wants 'selection LEFT,TOP,RIGHT,BOTTOM'"},
             Case{header + "filter Crop\n  selection 1,2,3,4,5\n", "line 3: wants 'selection"},
             Case{header + "filter Rotate\n  line 1,2,x,4\n", "line 3: wants 'line X1,Y1,X2,Y2'"},
             Case{header + "filter Crop\n  selection 1,2,3,4\n  selection 1,2,3,4\n", "line 4: a second 'selection'"},
             Case{header + "filter Crop\n  rectangle 1,2,3,4\n", "line 3: expected KEY:VALUE, 'selection"},
         }) {
        const std::string error = ParseFault(fault.text);
        EXPECT_EQ(error.substr(0, fault.expected.size()), fault.expected) << fault.text;
    }
}

class RecipePlanTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_module = std::make_unique<CModuleLoader>();
        std::string error;
        ASSERT_TRUE(s_module->Load(BF_MODULE_PATH, error)) << error;
        s_host = CComPtr<CPluginHost>::Adopt(CPluginHost::Create(0x0409));
        s_catalog = std::make_unique<CFilterCatalog>(*s_module, static_cast<IPluginHost*>(s_host.Get()));
    }
    static void TearDownTestSuite()
    {
        s_catalog.reset();
        s_host.Reset();
    }

    static bool Plan(const std::string& body, CRecipePlan& plan, std::string& error)
    {
        CRecipe recipe;
        if (!CRecipe::Parse("BasicFilters recipe 1\n" + body, recipe, error)) return false;
        return CRecipePlan::Make(recipe, *s_catalog, plan, error);
    }

    static std::string PlanFault(const std::string& body)
    {
        CRecipePlan plan;
        std::string error;
        EXPECT_FALSE(Plan(body, plan, error)) << body;
        return error;
    }

    static std::unique_ptr<CModuleLoader> s_module;
    static CComPtr<CPluginHost> s_host;
    static std::unique_ptr<CFilterCatalog> s_catalog;
};

std::unique_ptr<CModuleLoader> RecipePlanTest::s_module;
CComPtr<CPluginHost> RecipePlanTest::s_host;
std::unique_ptr<CFilterCatalog> RecipePlanTest::s_catalog;

TEST_F(RecipePlanTest, StepsFindTheirFiltersAndTheirTextsAreCompletedWithStartValues)
{
    CRecipePlan plan;
    std::string error;
    ASSERT_TRUE(Plan("filter brightness and contrast\n  brightnessvalue:20\n"
                     "filter Flip Horizontal\n"
                     "filter Crop\n  selection 10,20,110,220\n"
                     "filter Noise\n  NoiseActivePage:removenoisepage\n",
                     plan, error))
        << error;
    ASSERT_EQ(plan.Steps().size(), 4u);
    const PlannedStep& brightness = plan.Steps()[0];
    EXPECT_EQ(brightness.entry->menuPath.find("Brightness and Contrast") != std::string::npos, true);
    EXPECT_TRUE(brightness.handsText);
    EXPECT_EQ(NarrowToUtf8(brightness.text), "brightnessvalue:20\nContrastValue:1.000000\n");
    EXPECT_EQ(brightness.lineNumber, 2);
    EXPECT_FALSE(plan.Steps()[1].handsText) << "a filter without settings gets no text";
    EXPECT_EQ(plan.Steps()[2].shapes.selection, (std::array{10, 20, 110, 220}));
    EXPECT_EQ(plan.Steps()[2].lineNumber, 5);
    // A page named in another letter case is written as the filter compares it.
    EXPECT_NE(NarrowToUtf8(plan.Steps()[3].text).find("NoiseActivePage:RemoveNoisePage\n"), std::string::npos);
    EXPECT_TRUE(plan.Warnings().empty());
}

TEST_F(RecipePlanTest, FaultsOfTheModuleNameTheLineOfTheirStep)
{
    struct Case {
        std::string body;
        std::string expected;
    };
    for (const Case& fault : {
             Case{"filter Median\nfilter Medain\n", "line 3: no filter named 'Medain'; did you mean 'Median'?"},
             Case{"filter Median\n  MedianSize:big\n", "line 3: Median: MedianSize wants a whole number"},
             Case{"filter Median\n  MedianSize:2\n  MedianRadius:2\n",
                  "line 4: Median: unknown setting 'MedianRadius'"},
             Case{"\nfilter Sharpen\n  UnsharpMaskSize:2\n  SharpenActivePage:Blur\n",
                  "line 5: Sharpen: SharpenActivePage takes"},
             Case{"filter Flip Horizontal\n  Angle:3\n", "line 2: 'Rotate\\Flip Horizontal' takes no settings"},
             Case{"filter Crop\n", "line 2: 'Crop' works on what is drawn on the photo"},
             Case{"filter Crop\n  line 1,2,3,4\n", "line 2: 'Crop' reads 'selection L,T,R,B', not 'line'"},
             Case{"filter Median\n  selection 1,2,3,4\n", "line 2: 'Median' reads nothing drawn on the photo"},
             Case{"filter Flip Horizontal\n  line 1,2,3,4\n", "line 2: 'Rotate\\Flip Horizontal' reads nothing"},
             Case{"# nothing\n", "the recipe has no steps"},
         }) {
        const std::string error = PlanFault(fault.body);
        EXPECT_EQ(error.substr(0, fault.expected.size()), fault.expected) << fault.body << "\ngot: " << error;
    }
}

TEST_F(RecipePlanTest, NumbersOutsideTheDialogsRangeAreWarnedOfWithTheirLine)
{
    CRecipePlan plan;
    std::string error;
    ASSERT_TRUE(Plan("filter Median\n  MedianSize:2\nfilter Median\n  MedianSize:9\n", plan, error)) << error;
    ASSERT_EQ(plan.Warnings().size(), 1u);
    EXPECT_EQ(plan.Warnings()[0].substr(0, 26), "line 4: Median: MedianSize") << plan.Warnings()[0];
}
