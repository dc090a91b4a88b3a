// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader meets: the accessible tree from the window down.

#include <QAccessible>
#include <QAccessibleInterface>
#include <QAction>

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desktop/window/desktopwindow.h"
#include "desktop/window/menubarview.h"
#include "windowfixture.h"

namespace korvin {
namespace {

using test::WindowFixture;

struct Node {
    QAccessible::Role role;
    QString name;
    bool invisible;
};

void walk(QAccessibleInterface* node, std::vector<Node>& out, int depth = 0)
{
    if (!node || depth > 8)
        return;
    out.push_back({node->role(), node->text(QAccessible::Name), node->state().invisible != 0});
    // Items of the lists and the tree are theirs; the controls are what counts here.
    if (node->role() == QAccessible::Tree || node->role() == QAccessible::List)
        return;
    for (int i = 0; i < node->childCount(); ++i)
        walk(node->child(i), out, depth + 1);
}

std::vector<Node> accessibleTree(QWidget& window)
{
    std::vector<Node> nodes;
    walk(QAccessible::queryAccessibleInterface(&window), nodes);
    return nodes;
}

bool has(const std::vector<Node>& nodes, QAccessible::Role role, const QString& name)
{
    for (const Node& node : nodes)
        if (node.role == role && node.name == name && !node.invisible)
            return true;
    return false;
}

void expectControls(const std::vector<Node>& nodes, const std::map<QAccessible::Role, std::vector<QString>>& wanted)
{
    for (const auto& [role, names] : wanted)
        for (const QString& name : names)
            EXPECT_TRUE(has(nodes, role, name)) << role << " " << name.toStdString();
    // Every control a listener can reach by Tab or reads has a name.
    for (const Node& node : nodes) {
        if (!node.invisible && (node.role == QAccessible::Tree || node.role == QAccessible::List ||
                                node.role == QAccessible::PushButton || node.role == QAccessible::Slider ||
                                node.role == QAccessible::EditableText || node.role == QAccessible::StaticText)) {
            EXPECT_FALSE(node.name.isEmpty()) << "a control of role " << node.role << " has no name";
        }
    }
}

TEST(Accessibility, EveryControlIsNamedInGermanAndInEnglish)
{
    WindowFixture fixture;
    std::vector<Node> nodes = accessibleTree(fixture.window());
    ASSERT_FALSE(nodes.empty());
    EXPECT_EQ(nodes.front().role, QAccessible::Window);
    EXPECT_EQ(nodes.front().name, QStringLiteral("Korvin 2.0.1"));
    EXPECT_TRUE(has(nodes, QAccessible::MenuBar, QString()) || has(nodes, QAccessible::MenuBar, "Menu"));
    expectControls(nodes, {{QAccessible::Tree, {QStringLiteral("Überschriften")}},
                           {QAccessible::PushButton, {QStringLiteral("Wiedergabe/Pause")}},
                           {QAccessible::Slider, {QStringLiteral("Position")}},
                           {QAccessible::StaticText, {QStringLiteral("0:00 / 0:00")}},
                           {QAccessible::List,
                            {QStringLiteral("Gruppen"), QStringLiteral("Lesezeichen"), QStringLiteral("Suchergebnisse")}}});
    // A text, not a label: the screen reader reads it with its caret.
    EXPECT_TRUE(has(nodes, QAccessible::EditableText, QStringLiteral("Text")));

    fixture.window().menuBarView().action({0, 8, 1})->trigger();
    nodes = accessibleTree(fixture.window());
    expectControls(nodes, {{QAccessible::Tree, {QStringLiteral("Headings")}},
                           {QAccessible::PushButton, {QStringLiteral("Play/Pause")}},
                           {QAccessible::Slider, {QStringLiteral("Position")}},
                           {QAccessible::List,
                            {QStringLiteral("Groups"), QStringLiteral("Bookmarks"), QStringLiteral("Search results")}}});
    EXPECT_TRUE(has(nodes, QAccessible::EditableText, QStringLiteral("Text")));
}

TEST(Accessibility, MenuItemsGiveTheirNameAndShortcutApart)
{
    WindowFixture fixture;
    QAction* open = fixture.window().menuBarView().action({0, 0});
    QAccessibleInterface* menu = QAccessible::queryAccessibleInterface(open->parent());
    ASSERT_NE(menu, nullptr);
    QAccessibleInterface* item = nullptr;
    for (int i = 0; i < menu->childCount() && !item; ++i)
        if (menu->child(i)->text(QAccessible::Name) == QStringLiteral("Öffnen"))
            item = menu->child(i);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->role(), QAccessible::MenuItem);
    EXPECT_EQ(item->text(QAccessible::Accelerator), QStringLiteral("Ctrl+O"));
}

}  // namespace
}  // namespace korvin
