// Recipes in the editor: the steps the history applied, saved and run again through
// the command-line tool, give the editor's picture; a recipe applied to the open
// photo is one step that Undo takes back; a batch over a folder writes every good
// photo, names the bad one, and stops at Cancel.

#include "EditorTestSupport.h"
#include "tests/FileBytes.h"

#include "apps/editor/EditorBatch.h"
#include "apps/editor/FilterPanel.h"
#include "apps/editor/PhotoDocument.h"
#include "apps/editor/PhotoView.h"
#include "apps/editor/RecipeActions.h"
#include "refhost/RecipePlan.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>

namespace {

const QString kSamplePhoto = QStringLiteral(BF_SOURCE_DIR "/samples/fruits.jpg");
constexpr int kWaitMs = 10000;
constexpr int kProcessMs = 120000;

// The tool's exit code, -1 when it did not end by itself; its stderr in error.
int RunCli(const QStringList& arguments, QString& error)
{
    QProcess process;
    process.start(QStringLiteral(BF_CLI_PATH), arguments);
    if (!process.waitForFinished(kProcessMs) || process.exitStatus() != QProcess::NormalExit) return -1;
    error = QString::fromUtf8(process.readAllStandardError());
    return process.exitCode();
}

class RecipeEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_directory.isValid());
        m_window = std::make_unique<CEditorWindow>(m_catalog.Get());
        ASSERT_TRUE(ShowWithPhoto(*m_window, kSamplePhoto));
    }

    QString PathOf(const QString& name) const { return m_directory.filePath(name); }
    QImage Photo() const { return Opaque(m_window->Document()->Picture()); }
    CPhotoView* View() const { return m_window->View(); }

    void Trigger(const QString& name)
    {
        QAction* action = FilterMenuEntry(m_window->menuBar(), name);
        ASSERT_NE(action, nullptr) << "no entry " << name.toStdString();
        action->trigger();
        QCoreApplication::processEvents();
    }

    void Accept()
    {
        m_window->FilterPanel()->Buttons()->button(QDialogButtonBox::Ok)->click();
        ASSERT_EQ(m_window->Session(), nullptr) << "the filter did not apply";
    }

    // What the tool writes for the sample photo with the recipe, as pixels.
    QImage ThroughTheTool(const QString& recipe, const QString& name)
    {
        QString error;
        const int code = RunCli({"apply", "--recipe", recipe, kSamplePhoto, PathOf(name), "--quiet"}, error);
        EXPECT_EQ(code, 0) << error.toStdString();
        return Opaque(QImage(PathOf(name)));
    }

    QTemporaryDir m_directory;
    CTestCatalog m_catalog;
    std::unique_ptr<CEditorWindow> m_window;
};

} // namespace

TEST_F(RecipeEditorTest, TheSavedStepsReproduceThePictureThroughTheTool)
{
    Trigger(QStringLiteral("Flip Horizontal"));
    // A step undone is not in the picture, so not in the recipe either.
    Trigger(QStringLiteral("Invert"));
    ASSERT_NE(m_window->Session(), nullptr);
    Accept();
    m_window->Document()->History()->undo();

    Trigger(QStringLiteral("Crop"));
    ASSERT_NE(m_window->Session(), nullptr);
    DragOnPhoto(View(), QPointF(40, 30), QPointF(400, 330));
    Accept();

    Trigger(QStringLiteral("Brightness and Contrast"));
    const QList<QSlider*> sliders = m_window->FilterPanel()->findChildren<QSlider*>();
    ASSERT_EQ(sliders.size(), 2);
    sliders[0]->setValue(70);
    sliders[1]->setValue(60);
    Accept();

    Trigger(QStringLiteral("Median"));
    Accept();
    ASSERT_EQ(m_window->Document()->History()->index(), 4);

    QString error;
    ASSERT_TRUE(m_window->Recipes()->SaveSteps(PathOf("steps.txt"), error)) << error.toStdString();
    CRecipe saved;
    std::string fault;
    ASSERT_TRUE(CRecipe::Read(PathOf("steps.txt").toStdString(), saved, fault)) << fault;
    ASSERT_EQ(saved.Steps().size(), 4u);
    EXPECT_EQ(saved.Steps()[0].filter, "Rotate\\Flip Horizontal");
    EXPECT_EQ(saved.Steps()[1].filter, "Crop");
    EXPECT_TRUE(saved.Steps()[1].selection.has_value()) << "Crop keeps the dragged rectangle";

    const QImage reproduced = ThroughTheTool(PathOf("steps.txt"), QStringLiteral("reproduced.png"));
    ASSERT_EQ(reproduced.size(), Photo().size());
    EXPECT_EQ(reproduced, Photo());
}

TEST_F(RecipeEditorTest, ARecipeAppliesAsOneStepThatUndoTakesBack)
{
    ASSERT_TRUE(WriteBytes(PathOf("recipe.txt"), "BasicFilters recipe 1\n"
                                                "filter Median\n  MedianSize:2\n"
                                                "filter Flip Vertical\n"
                                                "filter Brightness and Contrast\n  BrightnessValue:-30\n"));
    const QImage original = Photo();
    QString error;
    ASSERT_TRUE(m_window->Recipes()->ApplyRecipe(PathOf("recipe.txt"), error)) << error.toStdString();
    QUndoStack* history = m_window->Document()->History();
    EXPECT_EQ(history->count(), 1);
    EXPECT_EQ(Photo(), ThroughTheTool(PathOf("recipe.txt"), QStringLiteral("tool.png")));
    EXPECT_NE(Photo(), original);
    history->undo();
    EXPECT_EQ(Photo(), original);
    history->redo();

    // Its steps are what the history saves: the recipe again, texts completed.
    ASSERT_TRUE(m_window->Recipes()->SaveSteps(PathOf("saved.txt"), error)) << error.toStdString();
    EXPECT_EQ(ThroughTheTool(PathOf("saved.txt"), QStringLiteral("saved.png")), Photo());

    ASSERT_TRUE(WriteBytes(PathOf("bad.txt"), "BasicFilters recipe 1\nfilter Median\n  MedianSize:x\n"));
    EXPECT_FALSE(m_window->Recipes()->ApplyRecipe(PathOf("bad.txt"), error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("line 3: "))) << error.toStdString();
    EXPECT_EQ(history->count(), 1) << "nothing applied";
}

TEST_F(RecipeEditorTest, ABatchWritesTheGoodPhotosNamesTheBadOneAndStopsAtCancel)
{
    ASSERT_TRUE(WriteBytes(PathOf("recipe.txt"), "BasicFilters recipe 1\nfilter Median\n  MedianSize:2\n"));
    CRecipe recipe;
    CRecipePlan plan;
    std::string fault;
    ASSERT_TRUE(CRecipe::Read(PathOf("recipe.txt").toStdString(), recipe, fault) &&
                CRecipePlan::Make(recipe, m_catalog.Get(), plan, fault))
        << fault;
    QDir().mkpath(PathOf("photos"));
    QStringList photos;
    for (const char* name : {"a.png", "b.png"}) {
        photos << PathOf(QStringLiteral("photos/%1").arg(QString::fromLatin1(name)));
        ASSERT_TRUE(QImage(kSamplePhoto).save(photos.back()));
    }
    photos.insert(1, PathOf("photos/broken.png"));
    ASSERT_TRUE(WriteBytes(photos[1], "no picture here"));

    const EditorBatchReport report = CEditorBatch::Run(plan, photos, PathOf("photos"), 92, m_window.get());
    EXPECT_EQ(report.written, 2);
    ASSERT_EQ(report.failures.size(), 1);
    EXPECT_TRUE(report.failures[0].startsWith(QStringLiteral("broken.png: "))) << report.failures[0].toStdString();
    EXPECT_FALSE(report.cancelled);
    const QImage expected = ThroughTheTool(PathOf("recipe.txt"), QStringLiteral("tool.png"));
    EXPECT_EQ(Opaque(QImage(PathOf("photos/a-edited.png"))), expected);
    EXPECT_EQ(Opaque(QImage(PathOf("photos/b-edited.png"))), expected);

    // Cancel pressed while the first photo runs: nothing after it is written.
    QTimer cancel;
    cancel.setInterval(1);
    QObject::connect(&cancel, &QTimer::timeout, [this, &cancel] {
        if (auto* dialog = m_window->findChild<QProgressDialog*>(); dialog != nullptr && dialog->isVisible()) {
            dialog->cancel();
            cancel.stop();
        }
    });
    cancel.start();
    const EditorBatchReport cancelled = CEditorBatch::Run(plan, photos, PathOf("out"), 92, m_window.get());
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_FALSE(QFileInfo::exists(PathOf("out/b.png")));
}
