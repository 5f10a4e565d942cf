// The filter menus: paths into sub-menus, the order rules, icons, and filters the
// module cannot create.

#include "EditorTestSupport.h"

#include "apps/editor/EditorWindow.h"
#include "apps/editor/FilterMenuBuilder.h"

namespace {

FilterEntry Entry(int index, const char* path, int order, FilterKind kind = FilterKind::Plain)
{
    FilterEntry entry;
    entry.index = index;
    entry.menuPath = path;
    entry.order = order;
    entry.kind = kind;
    return entry;
}

QStringList Texts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* action : menu.actions()) texts << action->text();
    return texts;
}

TEST(FilterMenuBuilder, SplitsPathsIntoSubMenusSortedByOrderThenName)
{
    const std::vector<FilterEntry> entries = {
        Entry(0, "Tone\\Zebra", 300),        Entry(1, "Sharpen", 200, FilterKind::Interactive),
        Entry(2, "Tone\\Apple", 300),        Entry(3, "Tone\\Deep\\Leaf", 100),
        Entry(4, "Salt & Pepper", 200),      Entry(5, "Aardvark", 900),
        Entry(6, "Broken", 200, FilterKind::Unavailable),
    };
    QMenu menu;
    const auto actions = CFilterMenuBuilder::Build(&menu, entries);

    // "Tone" sorts by its first entry, the nested Leaf (100); equal orders by name.
    EXPECT_EQ(Texts(menu), (QStringList{"Tone", "Broken", "Salt && Pepper", "Sharpen...", "Aardvark"}));
    QMenu* tone = menu.actions().front()->menu();
    ASSERT_NE(tone, nullptr);
    EXPECT_EQ(Texts(*tone), (QStringList{"Deep", "Apple", "Zebra"}));
    ASSERT_NE(tone->actions().front()->menu(), nullptr);
    EXPECT_EQ(Texts(*tone->actions().front()->menu()), QStringList{"Leaf"});

    ASSERT_EQ(actions.size(), entries.size());
    for (const auto& [action, entry] : actions) {
        EXPECT_EQ(action->isEnabled(), entry->kind != FilterKind::Unavailable) << entry->menuPath;
        EXPECT_EQ(action->data().toInt(), entry->index);
    }
}

// Whichever comes first in the module's list, and whatever its order, the filter
// named like a sub-menu heads it, once; the sub-menu keeps its place among the rest.
TEST(FilterMenuBuilder, AFilterNamedLikeASubMenuHeadsIt)
{
    for (const bool filterFirst : {true, false}) {
        std::vector<FilterEntry> entries = {Entry(0, "Tone\\Zebra", 300), Entry(1, "Tone\\Apple", 300),
                                            Entry(2, "Sharpen", 200), Entry(3, "Aardvark", 400)};
        const FilterEntry tone = Entry(4, "Tone", 900, FilterKind::Interactive);
        entries.insert(filterFirst ? entries.begin() : entries.end(), tone);
        QMenu menu;
        const auto actions = CFilterMenuBuilder::Build(&menu, entries);
        EXPECT_EQ(Texts(menu), (QStringList{"Sharpen", "Tone", "Aardvark"})) << filterFirst;
        QMenu* sub = menu.actions()[1]->menu();
        ASSERT_NE(sub, nullptr);
        ASSERT_EQ(sub->actions().size(), 4);
        EXPECT_EQ(sub->actions()[0]->text(), QStringLiteral("Tone..."));
        EXPECT_EQ(sub->actions()[0]->data().toInt(), 4);
        EXPECT_TRUE(sub->actions()[1]->isSeparator());
        EXPECT_EQ(sub->actions()[2]->text(), QStringLiteral("Apple"));
        EXPECT_EQ(sub->actions()[3]->text(), QStringLiteral("Zebra"));
        EXPECT_EQ(actions.size(), entries.size()) << "every filter still has its action";
    }
    // A filter and a sub-menu of one name in different menus are no namesakes.
    const std::vector<FilterEntry> apart = {Entry(0, "Deep\\Tone", 100), Entry(1, "Tone\\Apple", 100)};
    QMenu menu;
    CFilterMenuBuilder::Build(&menu, apart);
    EXPECT_EQ(Texts(menu), (QStringList{"Deep", "Tone"}));
    EXPECT_EQ(Texts(*menu.actions()[0]->menu()), QStringList{"Tone"});
}

TEST(FilterMenuBuilder, ModuleFiltersAppearUnderTheirMenuPathsWithTheirIcons)
{
    const CTestCatalog catalog;
    CEditorWindow window(catalog.Get());
    QAction* rotate = MenuAction(window.menuBar(), {QStringLiteral("Filters"), QStringLiteral("Rotate")});
    ASSERT_NE(rotate, nullptr);
    ASSERT_NE(rotate->menu(), nullptr) << "Rotate\\... entries form a sub-menu";
    QStringList names;
    for (const QAction* action : rotate->menu()->actions()) {
        names << (action->isSeparator() ? QStringLiteral("|") : PlainMenuText(action->text()));
    }
    // The free Rotate heads the sub-menu of its name; the rest, all of order 500,
    // alphabetically.
    EXPECT_EQ(names, (QStringList{"Rotate", "|", "Flip Horizontal", "Flip Vertical", "Rotate 0 Degrees",
                                  "Rotate 180 Degrees", "Rotate 90 Degrees Clockwise",
                                  "Rotate 90 Degrees Counterclockwise"}));
    EXPECT_EQ(rotate->menu()->actions()[0]->text(), QStringLiteral("Rotate...")) << "it has a dialog";
    EXPECT_FALSE(rotate->menu()->actions()[2]->icon().isNull()) << "Flip Horizontal has an icon";
    EXPECT_TRUE(rotate->menu()->actions()[4]->icon().isNull()) << "the right-angle rotations have none";
    // Nowhere in the Filters menu do two entries side by side share a name.
    QList<QAction*> level = MenuAction(window.menuBar(), {QStringLiteral("Filters")})->menu()->actions();
    for (int i = 0; i < level.size(); ++i) {
        QStringList seen;
        const QList<QAction*> entries = level[i]->menu() ? level[i]->menu()->actions() : QList<QAction*>{};
        for (const QAction* action : entries) {
            if (action->isSeparator()) continue;
            EXPECT_FALSE(seen.contains(PlainMenuText(action->text()))) << PlainMenuText(action->text()).toStdString();
            seen << PlainMenuText(action->text());
        }
    }

    // Autofix (order 50) leads the menu; Hot Pixel Fixer (900) ends it.
    const QList<QAction*> top = MenuAction(window.menuBar(), {QStringLiteral("Filters")})->menu()->actions();
    EXPECT_EQ(PlainMenuText(top.front()->text()), QStringLiteral("Autofix Image"));
    EXPECT_EQ(PlainMenuText(top.back()->text()), QStringLiteral("Hot Pixel Fixer"));
}

TEST(FilterMenuBuilder, FiltersWaitForAPhoto)
{
    const CTestCatalog catalog;
    CEditorWindow window(catalog.Get());
    QAction* flip = MenuAction(window.menuBar(), {"Filters", "Rotate", "Flip Horizontal"});
    ASSERT_NE(flip, nullptr);
    EXPECT_FALSE(flip->isEnabled());
    ASSERT_TRUE(window.OpenPhoto(QStringLiteral(BF_SOURCE_DIR "/samples/fruits.jpg")));
    EXPECT_TRUE(flip->isEnabled());
}

} // namespace
