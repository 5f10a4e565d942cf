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

TEST(FilterMenuBuilder, ModuleFiltersAppearUnderTheirMenuPathsWithTheirIcons)
{
    const CTestCatalog catalog;
    CEditorWindow window(catalog.Get());
    QAction* rotate = MenuAction(window.menuBar(), {QStringLiteral("Filters"), QStringLiteral("Rotate")});
    ASSERT_NE(rotate, nullptr);
    ASSERT_NE(rotate->menu(), nullptr) << "Rotate\\... entries form a sub-menu";
    QStringList names;
    for (const QAction* action : rotate->menu()->actions()) names << PlainMenuText(action->text());
    // All of order 500, so alphabetical.
    EXPECT_EQ(names, (QStringList{"Flip Horizontal", "Flip Vertical", "Rotate 0 Degrees", "Rotate 180 Degrees",
                                  "Rotate 90 Degrees Clockwise", "Rotate 90 Degrees Counterclockwise"}));
    EXPECT_FALSE(rotate->menu()->actions()[0]->icon().isNull()) << "Flip Horizontal has an icon";
    EXPECT_TRUE(rotate->menu()->actions()[2]->icon().isNull()) << "the right-angle rotations have none";

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
