// Recipes through the command-line tool: steps added as format prints their texts,
// a chain that writes what the filters write one file at a time, and batches that
// finish every good photo, name the bad ones, never replace an input and do not
// depend on how many photos run at once.

#include "tests/CliRunner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

const QString kFruits = QStringLiteral(BF_SOURCE_DIR "/samples/fruits.jpg");

// The steps of the chain, each as the arguments apply takes after FILTER IN OUT.
struct ChainStep {
    QString filter;
    QStringList options;
};

// Filters of each kind: settings with a page, a measured setting (Noise's levels
// left at 0), a size change, a selection, a line, and one without settings.
const std::vector<ChainStep>& Chain()
{
    static const std::vector<ChainStep> steps = {
        {"Brightness and Contrast", {"--set", "BrightnessValue=12", "--set", "ContrastValue=1.1"}},
        {"Noise", {"--set", "NoiseActivePage=RemoveNoisePage"}},
        {"Crop", {"--selection", "30,20,430,400"}},
        {"Rotate", {"--set", "croptype=1", "--line", "10,10,300,25"}},
        {"Flip Horizontal", {}},
        {"Sharpen", {"--set", "SharpenActivePage=UnsharpMask", "--set", "UnsharpMaskAmount=0.7"}},
        {"Resize", {"--set", "ResizerMode=5", "--set", "ResizerWidth=200", "--set", "ResizerHeight=170"}},
    };
    return steps;
}

class RecipeCli : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_directory.isValid()); }

    QString PathOf(const QString& name) const { return m_directory.filePath(name); }

    void AddChain(const QString& recipe)
    {
        for (const ChainStep& step : Chain()) {
            const RunResult added = RunCli(QStringList{"recipe", "add", recipe, step.filter} + step.options);
            ASSERT_EQ(added.exitCode, 0) << step.filter.toStdString() << "\n" << Describe(added);
        }
    }

    // n copies of the sample photo in folder, named photo-00.jpg...
    QStringList CopiesOfFruits(const QString& folder, int count)
    {
        QDir().mkpath(folder);
        QStringList copies;
        for (int i = 0; i < count; ++i) {
            copies << QDir(folder).filePath(QStringLiteral("photo-%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
            EXPECT_TRUE(QFile::copy(kFruits, copies.back()));
        }
        return copies;
    }

    QTemporaryDir m_directory;
};

} // namespace

TEST_F(RecipeCli, AStepHoldsTheTextFormatPrintsAndShowListsIt)
{
    const QString recipe = PathOf("recipe.txt");
    const QStringList settings{"--set", "UnsharpMaskSize=1.5", "--set", "GaussianBlurSize=3"};
    ASSERT_EQ(RunCli(QStringList{"recipe", "add", recipe, "Sharpen"} + settings).exitCode, 0);
    ASSERT_EQ(RunCli({"recipe", "add", recipe, "Crop", "--selection", "1,2,30,40"}).exitCode, 0);
    const RunResult format = RunCli(QStringList{"format", "Sharpen"} + settings);
    ASSERT_EQ(format.exitCode, 0) << Describe(format);

    QString expected = "BasicFilters recipe 1\nfilter Sharpen\n";
    for (const QString& line : QString::fromUtf8(format.out).split('\n', Qt::SkipEmptyParts)) {
        expected += "  " + line + "\n";
    }
    expected += "filter Crop\n  selection 1,2,30,40\n";
    EXPECT_EQ(QString::fromUtf8(FileBytes(recipe)), expected);

    const RunResult shown = RunCli({"recipe", "show", recipe});
    ASSERT_EQ(shown.exitCode, 0) << Describe(shown);
    EXPECT_TRUE(shown.out.startsWith("1. Sharpen (line 2)\n")) << Describe(shown);
    for (const QString& line : QString::fromUtf8(format.out).split('\n', Qt::SkipEmptyParts)) {
        EXPECT_TRUE(shown.out.contains(("     " + line + "\n").toUtf8())) << line.toStdString() << Describe(shown);
    }
    EXPECT_TRUE(shown.out.contains("2. Crop (line 8)\n     selection 1,2,30,40\n")) << Describe(shown);
}

TEST_F(RecipeCli, AddRefusesWhatApplyWouldRefuseAndLeavesTheFileAsItWas)
{
    const QString recipe = PathOf("recipe.txt");
    ASSERT_EQ(RunCli({"recipe", "add", recipe, "Median", "--set", "MedianSize=2"}).exitCode, 0);
    const QByteArray before = FileBytes(recipe);
    for (const QStringList& call : {QStringList{"Medain"}, QStringList{"Median", "--set", "MedianSize=two"},
                                    QStringList{"Crop"}, QStringList{"Flip Horizontal", "--set", "a=1"},
                                    QStringList{"Median", "--line", "1,2,3,4"}}) {
        const RunResult run = RunCli(QStringList{"recipe", "add", recipe} + call);
        EXPECT_EQ(run.exitCode, 2) << call.join(' ').toStdString() << "\n" << Describe(run);
        EXPECT_EQ(FileBytes(recipe), before) << call.join(' ').toStdString();
    }
}

TEST_F(RecipeCli, TheChainWritesTheBytesOfTheFiltersAppliedOneByOne)
{
    const QString recipe = PathOf("chain.txt");
    AddChain(recipe);
    const RunResult chained = RunCli({"apply", "--recipe", recipe, kFruits, PathOf("chained.png"), "--quiet"});
    ASSERT_EQ(chained.exitCode, 0) << Describe(chained);

    QString previous = kFruits;
    for (size_t i = 0; i < Chain().size(); ++i) {
        const QString next = PathOf(QStringLiteral("step%1.png").arg(i));
        const RunResult run = RunCli(QStringList{"apply", Chain()[i].filter, previous, next, "--quiet"} +
                                     Chain()[i].options);
        ASSERT_EQ(run.exitCode, 0) << Chain()[i].filter.toStdString() << "\n" << Describe(run);
        previous = next;
    }
    const QImage oneByOne = Pixels(previous);
    ASSERT_EQ(oneByOne.size(), QSize(200, 170));
    EXPECT_EQ(Pixels(PathOf("chained.png")), oneByOne);
    EXPECT_EQ(FileBytes(PathOf("chained.png")), FileBytes(previous));
}

TEST_F(RecipeCli, ABadLineIsNamedAndNothingIsWritten)
{
    const QString recipe = PathOf("bad.txt");
    ASSERT_TRUE(WriteBytes(recipe, "BasicFilters recipe 1\n"
                                  "filter Median\n"
                                  "  MedianSize:2\n"
                                  "filter Brightness and Contrast\n"
                                  "  BrightnessValue:bright\n"));
    const QStringList photos = CopiesOfFruits(PathOf("photos"), 2);
    const RunResult applied = RunCli({"apply", "--recipe", recipe, photos[0], PathOf("out.png")});
    EXPECT_EQ(applied.exitCode, 2) << Describe(applied);
    EXPECT_TRUE(applied.err.contains("line 5: Brightness and Contrast: BrightnessValue wants a number"))
        << Describe(applied);
    EXPECT_FALSE(QFileInfo::exists(PathOf("out.png")));

    const RunResult batch = RunCli({"batch", "--recipe", recipe, "--out-dir", PathOf("out"), PathOf("photos")});
    EXPECT_EQ(batch.exitCode, 2) << Describe(batch);
    EXPECT_TRUE(batch.err.contains("line 5:")) << Describe(batch);
    EXPECT_FALSE(QFileInfo::exists(PathOf("out")));
    EXPECT_EQ(QDir(PathOf("photos")).entryList(QDir::Files).size(), 2);

    ASSERT_TRUE(WriteBytes(recipe, "BasicFilters recipe 7\nfilter Median\n"));
    const RunResult version = RunCli({"apply", "--recipe", recipe, photos[0], PathOf("out.png")});
    EXPECT_EQ(version.exitCode, 2);
    EXPECT_TRUE(version.err.contains("line 1: a recipe of version '7'")) << Describe(version);
    EXPECT_FALSE(QFileInfo::exists(PathOf("out.png")));
}

TEST_F(RecipeCli, ABatchFinishesTheGoodPhotosAndNamesTheCorruptOne)
{
    const QString recipe = PathOf("recipe.txt");
    ASSERT_EQ(RunCli({"recipe", "add", recipe, "Median", "--set", "MedianSize=2"}).exitCode, 0);
    const QStringList photos = CopiesOfFruits(PathOf("photos"), 3);
    ASSERT_TRUE(WriteBytes(PathOf("photos/photo-01x.jpg"), "not a photo at all"));
    const RunResult run = RunCli({"batch", "--recipe", recipe, "--jobs", "2", PathOf("photos")});
    EXPECT_EQ(run.exitCode, 1) << Describe(run);
    EXPECT_TRUE(run.err.contains("3 of 4 photos written, 1 failed")) << Describe(run);
    EXPECT_TRUE(run.err.contains(PathOf("photos/photo-01x.jpg").toUtf8() + ": ")) << Describe(run);

    const RunResult single = RunCli({"apply", "--recipe", recipe, kFruits, PathOf("single.jpg"), "--quiet"});
    ASSERT_EQ(single.exitCode, 0) << Describe(single);
    for (const QString& photo : photos) {
        const QString written = QString(photo).replace(".jpg", "-edited.jpg");
        EXPECT_EQ(FileBytes(written), FileBytes(PathOf("single.jpg"))) << written.toStdString();
        EXPECT_EQ(FileBytes(photo), FileBytes(kFruits)) << "the input is kept";
    }
    EXPECT_FALSE(QFileInfo::exists(PathOf("photos/photo-01x-edited.jpg")));
}

TEST_F(RecipeCli, OneJobAndThreeJobsWriteTheSameFiles)
{
    const QString recipe = PathOf("chain.txt");
    AddChain(recipe);
    const QStringList photos = CopiesOfFruits(PathOf("photos"), 5);
    for (const QString jobs : {"1", "3"}) {
        const RunResult run = RunCli(QStringList{"batch", "--recipe", recipe, "--jobs", jobs, "--out-dir",
                                                 PathOf("out" + jobs)} + photos);
        ASSERT_EQ(run.exitCode, 0) << Describe(run);
    }
    for (const QString& photo : photos) {
        const QString name = QFileInfo(photo).fileName();
        const QByteArray one = FileBytes(PathOf("out1/" + name));
        ASSERT_FALSE(one.isEmpty()) << name.toStdString();
        EXPECT_EQ(FileBytes(PathOf("out3/" + name)), one) << name.toStdString();
    }
}

TEST_F(RecipeCli, ABatchSkipsWhatExistsAndNeverReplacesAnInput)
{
    const QString recipe = PathOf("recipe.txt");
    ASSERT_EQ(RunCli({"recipe", "add", recipe, "Invert"}).exitCode, 0);
    const QStringList photos = CopiesOfFruits(PathOf("photos"), 2);
    ASSERT_TRUE(WriteBytes(PathOf("photos/photo-00-edited.jpg"), "an earlier result"));

    const RunResult first = RunCli({"batch", "--recipe", recipe, PathOf("photos")});
    EXPECT_EQ(first.exitCode, 0) << Describe(first);
    EXPECT_TRUE(first.err.contains("1 of 2 photos written, 1 skipped")) << Describe(first);
    EXPECT_EQ(FileBytes(PathOf("photos/photo-00-edited.jpg")), "an earlier result");
    EXPECT_TRUE(QFileInfo::exists(PathOf("photos/photo-01-edited.jpg")));

    const RunResult again = RunCli({"batch", "--recipe", recipe, "--overwrite", PathOf("photos")});
    EXPECT_EQ(again.exitCode, 0) << Describe(again);
    EXPECT_TRUE(again.err.contains("2 of 2 photos written")) << "earlier results are not taken for photos\n"
                                                            << Describe(again);
    EXPECT_NE(FileBytes(PathOf("photos/photo-00-edited.jpg")), "an earlier result");

    const RunResult into = RunCli({"batch", "--recipe", recipe, "--overwrite", "--out-dir", PathOf("photos"),
                                   photos[0], photos[1]});
    EXPECT_EQ(into.exitCode, 1) << Describe(into);
    EXPECT_TRUE(into.err.contains("is an input")) << Describe(into);
    for (const QString& photo : photos) EXPECT_EQ(FileBytes(photo), FileBytes(kFruits));
}
