#include "apps/editor/FilterMenuBuilder.h"

#include "refhost/IconLoader.h"

#include <QAction>
#include <QMenu>
#include <QPixmap>

#include <algorithm>
#include <climits>
#include <memory>

namespace {

constexpr QChar kPathSeparator = u'\\';

struct MenuNode {
    QString name;
    const FilterEntry* entry = nullptr;  // null for a sub-menu
    int order = INT_MAX;                 // a sub-menu's is its first entry's
    // A filter named like the sub-menu it was moved into: it heads that sub-menu.
    bool heads = false;
    std::vector<std::unique_ptr<MenuNode>> children;
};

MenuNode* SubMenuOf(MenuNode& parent, const QString& name)
{
    for (const auto& child : parent.children) {
        if (child->entry == nullptr && child->name == name) return child.get();
    }
    parent.children.push_back(std::make_unique<MenuNode>());
    parent.children.back()->name = name;
    return parent.children.back().get();
}

void AddEntry(MenuNode& root, const FilterEntry& entry)
{
    QStringList parts = QString::fromStdString(entry.menuPath).split(kPathSeparator, Qt::SkipEmptyParts);
    if (parts.isEmpty()) return;
    const QString leafName = parts.takeLast();
    MenuNode* parent = &root;
    for (const QString& part : parts) parent = SubMenuOf(*parent, part);
    auto leaf = std::make_unique<MenuNode>();
    leaf->name = leafName;
    leaf->entry = &entry;
    leaf->order = entry.order;
    parent->children.push_back(std::move(leaf));
}

// Two entries of one name side by side (the free "Rotate" beside the "Rotate"
// sub-menu of flips and turns) would leave the user guessing: the filter moves into
// the sub-menu and heads it.
void MoveNamesakesIntoSubMenus(MenuNode& node)
{
    for (const auto& child : node.children) {
        if (child->entry == nullptr) MoveNamesakesIntoSubMenus(*child);
    }
    auto& children = node.children;
    for (auto leaf = children.begin(); leaf != children.end();) {
        const auto subMenu = std::find_if(children.begin(), children.end(), [&](const auto& other) {
            return other->entry == nullptr && other->name == (*leaf)->name;
        });
        if ((*leaf)->entry == nullptr || subMenu == children.end()) {
            ++leaf;
            continue;
        }
        (*leaf)->heads = true;
        MenuNode* target = subMenu->get();
        target->children.push_back(std::move(*leaf));
        leaf = children.erase(leaf);
    }
}

int SortTree(MenuNode& node)
{
    for (const auto& child : node.children) {
        if (child->entry == nullptr) child->order = SortTree(*child);
    }
    std::stable_sort(node.children.begin(), node.children.end(), [](const auto& a, const auto& b) {
        if (a->heads != b->heads) return a->heads;
        if (a->order != b->order) return a->order < b->order;
        return QString::localeAwareCompare(a->name, b->name) < 0;
    });
    // The earliest entry places the sub-menu, the one heading it included.
    int earliest = INT_MAX;
    for (const auto& child : node.children) earliest = std::min(earliest, child->order);
    return earliest;
}

// A single "&" in a menu text marks the shortcut letter; names show theirs as typed.
QString MenuText(const QString& name)
{
    return QString(name).replace(u'&', QStringLiteral("&&"));
}

QIcon IconOf(const FilterEntry& entry)
{
    if (entry.iconPath.empty() || entry.iconIndex < 0) return QIcon();
    const QImage picture = LoadModuleIcon(QString::fromStdString(entry.iconPath), entry.iconIndex);
    return picture.isNull() ? QIcon() : QIcon(QPixmap::fromImage(picture));
}

QAction* MakeAction(QMenu* menu, const MenuNode& node)
{
    const FilterEntry& entry = *node.entry;
    const bool interactive = entry.kind == FilterKind::Interactive;
    QAction* action = menu->addAction(IconOf(entry), MenuText(node.name) + (interactive ? QStringLiteral("...") : QString()));
    action->setData(entry.index);
    if (entry.kind == FilterKind::Unavailable) {
        action->setEnabled(false);
        action->setToolTip(QObject::tr("Not available in this version of the filter module"));
    }
    return action;
}

void Populate(QMenu* menu, const MenuNode& node, std::vector<CFilterMenuBuilder::FilterAction>& actions)
{
    for (const auto& child : node.children) {
        if (child->entry != nullptr) {
            actions.push_back({MakeAction(menu, *child), child->entry});
            if (child->heads && node.children.size() > 1) menu->addSeparator();
        } else {
            QMenu* subMenu = menu->addMenu(MenuText(child->name));
            subMenu->setToolTipsVisible(true);
            Populate(subMenu, *child, actions);
        }
    }
}

} // namespace

std::vector<CFilterMenuBuilder::FilterAction> CFilterMenuBuilder::Build(QMenu* menu, const std::vector<FilterEntry>& entries)
{
    MenuNode root;
    for (const FilterEntry& entry : entries) AddEntry(root, entry);
    MoveNamesakesIntoSubMenus(root);
    SortTree(root);
    std::vector<FilterAction> actions;
    menu->setToolTipsVisible(true);
    Populate(menu, root, actions);
    return actions;
}

QString CFilterMenuBuilder::FilterName(const FilterEntry& entry)
{
    return QString::fromStdString(entry.menuPath).section(kPathSeparator, -1);
}
