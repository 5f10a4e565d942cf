// The tool and the settings each filter declares: help, defaults, checks, the JSON
// listing and the README's table. The declarations are read here through the
// module, as the tool reads them, so the tests follow them instead of restating them.

#include "tests/CliRunner.h"
#include "tests/LoadedModule.h"

#include "platform/WideString.h"
#include "plugin/SettingsInterfaces.h"
#include "plugin/UnlistedInterfaces.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>
#include <string>
#include <vector>

namespace {

struct Declared {
    QString page;
    QString key;
    SettingType type;
    double minimum;
    double maximum;
    bool fromPhoto;
    double start;
    QString startText;
    QStringList choices;
    QString description;
};

struct DeclaringFilter {
    QString name;
    std::vector<Declared> settings;
};

QString Text(const char16_t* text)
{
    return text != nullptr ? QString::fromStdU16String(std::u16string(text)) : QString();
}

Declared Copy(const SettingDeclaration& declared)
{
    QStringList choices;
    for (const char16_t* const* choice = declared.choices; choice != nullptr && *choice != nullptr; ++choice) {
        choices << Text(*choice);
    }
    return {Text(declared.page),    Text(declared.key),   declared.type,
            declared.minimum,       declared.maximum,     declared.startFrom == SettingStart::FromPhoto,
            declared.start,         Text(declared.startText), choices,
            Text(declared.description)};
}

// The enumerator's factories in its order, then those the primary component hands
// out beside it: the order of the tool's list.
std::vector<IFilterFactory*> FactoriesInListOrder()
{
    std::vector<IFilterFactory*> factories;
    IComponentEnum* enumerator = LoadedModuleEnumerator();
    const int count = enumerator != nullptr ? enumerator->GetCount() : 0;
    for (int i = 0; i < count; ++i) factories.push_back(LoadedModuleFactory(i));
    void* answer = nullptr;
    if (LoadedModulePrimary()->QueryInterface(IID_IUnlistedFactories, &answer) != S_OK) return factories;
    auto* unlisted = static_cast<IUnlistedFactories*>(answer);
    for (int i = 0; i < unlisted->GetUnlistedCount(); ++i) {
        IComponent* component = nullptr;
        void* factory = nullptr;
        if (unlisted->GetUnlistedAt(i, &component) && component->QueryInterface(IID_IFilterFactory, &factory) == S_OK)
            factories.push_back(static_cast<IFilterFactory*>(factory));
    }
    return factories;
}

// Every filter whose factory answers IFilterSettings, in the tool's list order.
const std::vector<DeclaringFilter>& DeclaringFilters()
{
    static const std::vector<DeclaringFilter> filters = [] {
        std::vector<DeclaringFilter> found;
        for (IFilterFactory* factory : FactoriesInListOrder()) {
            void* answer = nullptr;
            if (factory == nullptr || factory->QueryInterface(IID_IFilterSettings, &answer) != S_OK) continue;
            auto* settings = static_cast<IFilterSettings*>(answer);
            DeclaringFilter filter{Text(factory->GetName()), {}};
            for (int s = 0; s < settings->GetSettingCount(); ++s) filter.settings.push_back(Copy(*settings->GetSetting(s)));
            settings->Release();
            if (!filter.settings.empty()) found.push_back(filter);  // not the ones that only read the preview
        }
        return found;
    }();
    return filters;
}

// A numbered key (X%03d) stands for keys given one per point; it has no start value.
bool IsNumbered(const Declared& setting)
{
    return setting.key.endsWith(QStringLiteral("%03d"));
}

// A start value as the dialogs write it: integers "%d", reals "%lf".
QString StartText(const Declared& setting)
{
    if (setting.type == SettingType::Page) return setting.startText;
    if (setting.type == SettingType::Real) return QString::asprintf("%f", setting.start);
    return QString::number(static_cast<int>(std::lround(setting.start)));
}

// The keys a parameter text needs for page (empty: the start page), with the start
// values, in declaration order; settings taken from the photo stay out.
QStringList StartPairs(const DeclaringFilter& filter, const QString& page)
{
    QString chosen = page;
    for (const Declared& setting : filter.settings) {
        if (setting.type == SettingType::Page && chosen.isEmpty()) chosen = setting.startText;
    }
    QStringList pairs;
    for (const Declared& setting : filter.settings) {
        if (setting.fromPhoto || IsNumbered(setting) || (!setting.page.isEmpty() && setting.page != chosen)) continue;
        pairs << setting.key + '=' + (setting.type == SettingType::Page ? chosen : StartText(setting));
    }
    return pairs;
}

// Each filter with its pages: every page of a multi-page filter, and "" for none chosen.
std::vector<std::pair<const DeclaringFilter*, QString>> FiltersAndPages()
{
    std::vector<std::pair<const DeclaringFilter*, QString>> cases;
    for (const DeclaringFilter& filter : DeclaringFilters()) {
        cases.emplace_back(&filter, QString());
        for (const Declared& setting : filter.settings) {
            if (setting.type != SettingType::Page) continue;
            for (const QString& choice : setting.choices) cases.emplace_back(&filter, choice);
        }
    }
    return cases;
}

QString PageKey(const DeclaringFilter& filter)
{
    for (const Declared& setting : filter.settings) {
        if (setting.type == SettingType::Page) return setting.key;
    }
    return {};
}

class SettingsCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_directory.isValid());
        ASSERT_TRUE(PhotoLikePicture().save(PathOf("in.png")));
        // The six filters with dialogs declare their settings.
        ASSERT_EQ(DeclaringFilters().size(), 13u);
    }

    QString PathOf(const QString& name) const { return m_directory.filePath(name); }

    static QStringList WithSets(QStringList words, const QStringList& pairs)
    {
        for (const QString& pair : pairs) words << QStringLiteral("--set") << pair;
        return words;
    }

    QTemporaryDir m_directory;
};

// ---------------------------------------------------------------- defaults

TEST_F(SettingsCli, ApplyWithoutSettingsEqualsApplyWithTheDeclaredStartValues)
{
    int outputs = 0;
    for (const auto& [filter, page] : FiltersAndPages()) {
        const QString label = filter->name + ' ' + page;
        const QStringList explicitPairs = StartPairs(*filter, page);
        const QStringList chosenPage = page.isEmpty() ? QStringList() : QStringList{PageKey(*filter) + '=' + page};
        const QString implicitOut = PathOf(QStringLiteral("implicit%1.png").arg(++outputs));
        const QString explicitOut = PathOf(QStringLiteral("explicit%1.png").arg(outputs));

        const RunResult implicitRun =
            RunCli(WithSets({"apply", filter->name, PathOf("in.png"), implicitOut}, chosenPage));
        ASSERT_EQ(implicitRun.exitCode, 0) << label.toStdString() << Describe(implicitRun);
        const RunResult explicitRun =
            RunCli(WithSets({"apply", filter->name, PathOf("in.png"), explicitOut}, explicitPairs));
        ASSERT_EQ(explicitRun.exitCode, 0) << label.toStdString() << Describe(explicitRun);

        QByteArray written = FileBytes(implicitOut);
        EXPECT_FALSE(written.isEmpty()) << label.toStdString();
        // Adding noise draws from the clock's seconds: when the two runs fell in
        // different seconds, one more run right after the explicit one shares its
        // second. A filter that ignores a start value differs again.
        if (written != FileBytes(explicitOut)) {
            ASSERT_EQ(RunCli(WithSets({"apply", filter->name, PathOf("in.png"), implicitOut}, chosenPage)).exitCode, 0);
            written = FileBytes(implicitOut);
        }
        EXPECT_TRUE(written == FileBytes(explicitOut)) << label.toStdString();

        // One line names the start values used, and only those not given.
        const QString said = QString::fromUtf8(implicitRun.err);
        EXPECT_EQ(said.count(QStringLiteral("using the defaults")), 1) << said.toStdString();
        for (const QString& pair : explicitPairs) {
            EXPECT_EQ(said.contains(' ' + pair), !chosenPage.contains(pair)) << label.toStdString() << said.toStdString();
        }
        EXPECT_TRUE(explicitRun.err.isEmpty()) << Describe(explicitRun);
    }
}

TEST_F(SettingsCli, QuietKeepsTheDefaultsToItself)
{
    const RunResult run = RunCli({"apply", "Median", PathOf("in.png"), PathOf("out.png"), "--quiet"});
    ASSERT_EQ(run.exitCode, 0) << Describe(run);
    EXPECT_TRUE(run.err.isEmpty()) << Describe(run);
}

TEST_F(SettingsCli, FormatPrintsTheCompletedText)
{
    for (const auto& [filter, page] : FiltersAndPages()) {
        const QStringList chosenPage = page.isEmpty() ? QStringList() : QStringList{PageKey(*filter) + '=' + page};
        const RunResult run = RunCli(WithSets({"format", filter->name}, chosenPage));
        ASSERT_EQ(run.exitCode, 0) << Describe(run);
        // The page key comes first when given; the rest follow in declaration order.
        QStringList expected = chosenPage;
        for (const QString& pair : StartPairs(*filter, page)) {
            if (!expected.contains(pair)) expected << pair;
        }
        QStringList printed = QString::fromUtf8(run.out).split('\n', Qt::SkipEmptyParts);
        for (QString& line : printed) line.replace(line.indexOf(':'), 1, '=');
        EXPECT_EQ(printed, expected) << filter->name.toStdString() << ' ' << page.toStdString();
    }
}

// ---------------------------------------------------------------- checks

TEST_F(SettingsCli, UnknownKeysAreRefusedWithTheNearestAndTheValidOnes)
{
    struct Call {
        QStringList words;
        const char* nearest;
    };
    const QString out = PathOf("out.png");
    for (const Call& call : {
             Call{{"apply", "Median", PathOf("in.png"), out, "--set", "MedainSize=2"}, "MedianSize"},
             Call{{"apply", "Median", PathOf("in.png"), out, "--format", "MEDIANSIZ:2\n"}, "MedianSize"},
             Call{{"format", "Sharpen", "--set", "UnsharpMaskAmout=0.5"}, "UnsharpMaskAmount"},
             Call{{"format", "Brightness and Contrast", "--set", "Brightness=3"}, "BrightnessValue"},
             Call{{"format", "Resize", "--set", "Zoom=2"}, nullptr},
         }) {
        const RunResult run = RunCli(call.words);
        const std::string said = run.err.toStdString();
        EXPECT_EQ(run.exitCode, 2) << Describe(run);
        EXPECT_TRUE(run.out.isEmpty()) << Describe(run);
        EXPECT_NE(said.find("unknown setting"), std::string::npos) << said;
        if (call.nearest != nullptr) {
            EXPECT_NE(said.find(std::string("did you mean ") + call.nearest + "?"), std::string::npos) << said;
        } else {
            EXPECT_EQ(said.find("did you mean"), std::string::npos) << said;
        }
        const DeclaringFilter* filter = nullptr;
        for (const DeclaringFilter& declaring : DeclaringFilters()) {
            if (call.words.contains(declaring.name)) filter = &declaring;
        }
        ASSERT_NE(filter, nullptr);
        for (const Declared& setting : filter->settings) {
            EXPECT_NE(said.find(setting.key.toStdString()), std::string::npos) << said;
        }
    }
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(SettingsCli, KeysAndPagesIgnoreLetterCase)
{
    const RunResult run =
        RunCli({"format", "Sharpen", "--set", "sharpenactivepage=gaussianblur", "--set", "GAUSSIANBLURSIZE=3"});
    ASSERT_EQ(run.exitCode, 0) << Describe(run);
    // The filter compares page names exactly, so the page is written as declared.
    EXPECT_EQ(run.out.toStdString(), "sharpenactivepage:GaussianBlur\nGAUSSIANBLURSIZE:3\n");
}

TEST_F(SettingsCli, ValuesThatAreNoNumbersOrNoPageAreRefused)
{
    for (const QStringList& words : {
             QStringList{"format", "Median", "--set", "MedianSize=two"},
             QStringList{"format", "Median", "--set", "MedianSize=2.5"},
             QStringList{"format", "Median", "--set", "MedianSize=2x"},
             QStringList{"format", "Brightness and Contrast", "--set", "ContrastValue=nan"},
             QStringList{"format", "Brightness and Contrast", "--set", "BrightnessValue=1,5"},
             QStringList{"format", "Sharpen", "--set", "SharpenActivePage=Blur"},
             QStringList{"apply", "Median", PathOf("in.png"), PathOf("out.png"), "--format", "MedianSize:big\n"},
         }) {
        const RunResult run = RunCli(words);
        EXPECT_EQ(run.exitCode, 2) << words.join(' ').toStdString() << Describe(run);
        EXPECT_TRUE(run.out.isEmpty()) << Describe(run);
        EXPECT_FALSE(run.err.isEmpty());
    }
    const RunResult page = RunCli({"format", "Sharpen", "--set", "SharpenActivePage=Blur"});
    EXPECT_TRUE(page.err.contains("UnsharpMask or GaussianBlur")) << Describe(page);
    EXPECT_FALSE(QFile::exists(PathOf("out.png")));
}

TEST_F(SettingsCli, NumbersOutsideTheDialogsRangeAreWarnedOfAndPassedOn)
{
    for (const DeclaringFilter& filter : DeclaringFilters()) {
        for (const Declared& setting : filter.settings) {
            if (setting.type == SettingType::Page || !std::isfinite(setting.maximum) || !std::isfinite(setting.minimum)) {
                continue;
            }
            const QString value = QString::number(static_cast<int>(setting.maximum) + 1);
            const RunResult run = RunCli({"format", filter.name, "--set", setting.key + '=' + value});
            ASSERT_EQ(run.exitCode, 0) << Describe(run);
            const QString range =
                QString::number(setting.minimum, 'g', 15) + " to " + QString::number(setting.maximum, 'g', 15);
            EXPECT_TRUE(run.err.contains((setting.key + '=' + value + " is outside the dialog's range " + range +
                                          "; passed on as given")
                                             .toUtf8()))
                << Describe(run);
            EXPECT_TRUE(run.out.contains((setting.key + ':' + value + '\n').toUtf8())) << Describe(run);
        }
    }
    // In range: nothing to say.
    const RunResult quiet = RunCli({"format", "Median", "--set", "MedianSize=4"});
    EXPECT_TRUE(quiet.err.isEmpty()) << Describe(quiet);
}

TEST_F(SettingsCli, MisspeltFilterNamesSuggestTheNearest)
{
    struct Call {
        const char* typed;
        const char* suggested;
    };
    for (const Call& call : {Call{"Medain", "'Median'"}, Call{"brightnes and contrast", "'Brightness and Contrast'"},
                             Call{"Flip Horizonal", "'Rotate\\Flip Horizontal'"}, Call{"Xylophone", nullptr}}) {
        const RunResult run = RunCli({"apply", call.typed, PathOf("in.png"), PathOf("out.png")});
        EXPECT_EQ(run.exitCode, 2) << Describe(run);
        const std::string said = run.err.toStdString();
        if (call.suggested != nullptr) {
            EXPECT_NE(said.find(std::string("did you mean ") + call.suggested), std::string::npos) << said;
        } else {
            EXPECT_EQ(said.find("did you mean"), std::string::npos) << said;
        }
    }
}

// ---------------------------------------------------------------- help

TEST_F(SettingsCli, HelpShowsEveryDeclaredKeyWithItsDefaultAndDescription)
{
    for (const DeclaringFilter& filter : DeclaringFilters()) {
        const RunResult run = RunCli({"help", filter.name});
        ASSERT_EQ(run.exitCode, 0) << Describe(run);
        const QStringList lines = QString::fromUtf8(run.out).split('\n');
        for (const Declared& setting : filter.settings) {
            const qsizetype at = lines.indexOf(QRegularExpression("^\\s+" + setting.key + "\\s.*"));
            ASSERT_GE(at, 0) << setting.key.toStdString() << "\n" << run.out.toStdString();
            const QString expectedDefault = setting.fromPhoto  ? QStringLiteral("from the photo")
                                            : IsNumbered(setting) ? QStringLiteral("none (given per point)")
                                            : setting.type == SettingType::Page ? setting.startText
                                                                                : QString::number(setting.start, 'g', 15);
            EXPECT_TRUE(lines[at].endsWith("default " + expectedDefault)) << lines[at].toStdString();
            // A page names its choices: "A or B", "A, B or C".
            QString choices;
            for (qsizetype i = 0; i < setting.choices.size(); ++i)
                choices += (i == 0 ? "" : i + 1 == setting.choices.size() ? " or " : ", ") + setting.choices[i];
            if (setting.type == SettingType::Page) {
                EXPECT_TRUE(lines[at].contains("page: " + choices)) << lines[at].toStdString();
            }
            ASSERT_LT(at + 1, lines.size());
            EXPECT_EQ(lines[at + 1].trimmed(), setting.description);
            // A page's settings follow the line that names the page.
            if (!setting.page.isEmpty()) {
                qsizetype heading = at;
                while (heading > 0 && !lines[heading].startsWith(" with ")) --heading;
                EXPECT_EQ(lines[heading], " with " + PageKey(filter) + '=' + setting.page + ':');
            }
        }
        const RunResult viaApply = RunCli({"apply", filter.name, "in.png", "out.png", "--help"});
        EXPECT_EQ(viaApply.exitCode, 0);
        EXPECT_EQ(viaApply.out, run.out);
    }
}

TEST_F(SettingsCli, HelpForFiltersWithoutDeclarationsAndTheUsage)
{
    const RunResult plain = RunCli({"help", "Rotate 0 Degrees"});
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_EQ(plain.out.toStdString(), "Rotate\\Rotate 0 Degrees takes no settings.\n");
    const RunResult usage = RunCli({"help"});
    EXPECT_TRUE(usage.out.contains("help FILTER")) << Describe(usage);
    EXPECT_EQ(RunCli({"help", "Medain"}).exitCode, 2);
}

// ---------------------------------------------------------------- list --json

TEST_F(SettingsCli, ListJsonCarriesTheDeclarations)
{
    const RunResult run = RunCli({"list", "--json"});
    ASSERT_EQ(run.exitCode, 0) << Describe(run);
    const QJsonArray listed = QJsonDocument::fromJson(run.out).array();
    int declaring = 0;
    for (const QJsonValue& value : listed) {
        const QJsonObject filter = value.toObject();
        ASSERT_TRUE(filter["settings"].isArray()) << filter["name"].toString().toStdString();
        const QJsonArray settings = filter["settings"].toArray();
        const DeclaringFilter* declared = nullptr;
        for (const DeclaringFilter& candidate : DeclaringFilters()) {
            if (candidate.name == filter["name"].toString()) declared = &candidate;
        }
        if (declared == nullptr) {
            EXPECT_TRUE(settings.isEmpty());
            continue;
        }
        ++declaring;
        ASSERT_EQ(settings.size(), static_cast<qsizetype>(declared->settings.size()));
        for (qsizetype i = 0; i < settings.size(); ++i) {
            const QJsonObject json = settings[i].toObject();
            const Declared& setting = declared->settings[static_cast<size_t>(i)];
            const std::string label = setting.key.toStdString();
            EXPECT_EQ(json["key"].toString(), setting.key);
            EXPECT_EQ(json["page"].isNull(), setting.page.isEmpty()) << label;
            EXPECT_EQ(json["page"].toString(), setting.page) << label;
            EXPECT_EQ(json["description"].toString(), setting.description) << label;
            QStringList choices;
            for (const QJsonValue& choice : json["choices"].toArray()) choices << choice.toString();
            EXPECT_EQ(choices, setting.choices) << label;
            if (setting.type == SettingType::Page) {
                EXPECT_EQ(json["type"].toString(), QStringLiteral("page"));
                EXPECT_EQ(json["default"].toString(), setting.startText);
                continue;
            }
            EXPECT_EQ(json["minimum"].isNull(), !std::isfinite(setting.minimum)) << label;
            EXPECT_EQ(json["maximum"].isNull(), !std::isfinite(setting.maximum)) << label;
            if (std::isfinite(setting.minimum)) {
                EXPECT_EQ(json["minimum"].toDouble(), setting.minimum) << label;
            }
            if (std::isfinite(setting.maximum)) {
                EXPECT_EQ(json["maximum"].toDouble(), setting.maximum) << label;
            }
            // A numbered key stands for many keys, each with a start of its own.
            const bool noOneStart = setting.fromPhoto || setting.key.contains(QLatin1String("%03d"));
            EXPECT_EQ(json["default"].isNull(), noOneStart) << label;
            if (!noOneStart) {
                EXPECT_EQ(json["default"].toDouble(), setting.start) << label;
            }
            const char* type = setting.type == SettingType::Real ? "real"
                               : setting.type == SettingType::Flag ? "flag"
                                                                   : "integer";
            EXPECT_EQ(json["type"].toString(), QLatin1String(type)) << label;
        }
    }
    EXPECT_EQ(declaring, static_cast<int>(DeclaringFilters().size()));
}

// ---------------------------------------------------------------- README

TEST_F(SettingsCli, TheReadmesSettingsTableIsTheGeneratedOne)
{
    const QByteArray readme = FileBytes(QStringLiteral(BF_SOURCE_DIR "/README.md"));
    const QByteArray begin = "<!-- settings table: generated by scripts/settings-table.sh -->\n";
    const QByteArray end = "<!-- end of settings table -->";
    const qsizetype from = readme.indexOf(begin);
    const qsizetype to = readme.indexOf(end);
    ASSERT_TRUE(from >= 0 && to > from) << "README.md lacks the settings table's marker comments";
    const QByteArray inReadme = readme.mid(from + begin.size(), to - from - begin.size());
    const RunResult run = RunCli({"help", "--markdown"});
    ASSERT_EQ(run.exitCode, 0) << Describe(run);
    EXPECT_EQ(inReadme.toStdString(), run.out.toStdString())
        << "README.md's settings table differs from the filters' declarations: run scripts/settings-table.sh";
}

} // namespace
