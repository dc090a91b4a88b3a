// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/menubarview.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include "app/maincontroller.h"
#include "desktop/window/desktopwindow.h"
#include "ui/commandids.h"
#include "ui/menustates.h"
#include "ui/stringtable.h"
#include "windowfixture.h"

namespace korvin {
namespace {

using test::WindowFixture;

// The QMenu that holds the item at `path` must list the action at the item's position.
QAction* actionAtPosition(QMenuBar& bar, const MenuModel::Path& path)
{
    QList<QAction*> actions = bar.actions();
    QAction* found = nullptr;
    for (int position : path) {
        if (position < 0 || position >= actions.size())
            return nullptr;
        found = actions[position];
        actions = found->menu() ? found->menu()->actions() : QList<QAction*>();
    }
    return found;
}

// Every item as the QActions show it: command, position, text without the
// shortcut, the shortcut, enabled and checked states. Before a language has
// been set the menu's own texts show, after it the string table's.
constexpr int kMenuTexts = -1;

void expectMenuShows(WindowFixture& fixture, int languageOffset)
{
    const StringTable& strings = fixture.controller().strings();
    MenuBarView& view = fixture.window().menuBarView();
    int items = 0;
    fixture.controller().menu().forEach([&](const MenuModel::Path& path, const MenuItem& item) {
        QAction* action = actionAtPosition(view.bar(), path);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action, view.action(path));
        if (item.isSeparator()) {
            EXPECT_TRUE(action->isSeparator());
            return;
        }
        ++items;
        const std::string text = item.stringId >= 0 && languageOffset != kMenuTexts
                                     ? strings.get(item.stringId, languageOffset)
                                     : item.text;
        const std::size_t tab = text.find('\t');
        EXPECT_EQ(action->text().toStdString(), text.substr(0, tab));
        EXPECT_EQ(action->shortcut().isEmpty(), tab == std::string::npos) << text;
        EXPECT_EQ(action->isEnabled(), item.canBeChosen()) << text;
        EXPECT_EQ(item.isPopup(), action->menu() != nullptr) << text;
        if (!item.isPopup()) {
            EXPECT_EQ(action->property(MenuBarView::kCommandProperty).toInt(), item.command);
            EXPECT_EQ(action->isChecked(), item.checked) << text;
        }
    });
    EXPECT_EQ(items, 102);
}

TEST(MenuBarView, ShowsEveryItemOfTheGermanMenuAtStart)
{
    WindowFixture fixture;
    expectMenuShows(fixture, kMenuTexts);
    MenuBarView& view = fixture.window().menuBarView();
    EXPECT_EQ(view.action({0})->text(), QStringLiteral("&DAISY"));
    EXPECT_EQ(view.action({0, 0})->text(), QStringLiteral("&Öffnen"));
    EXPECT_EQ(view.action({0, 0})->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_TRUE(view.action({0, 0})->isEnabled());
    EXPECT_EQ(view.action({1, 3, 0})->text(), QStringLiteral("Fußnoten"));
    EXPECT_EQ(view.action({2, 4})->text(), QStringLiteral("Pause/Fortsetzen"));
    EXPECT_EQ(view.action({2, 4})->shortcut(), QKeySequence(Qt::Key_Space));
    EXPECT_EQ(view.action({1, 0, 1})->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_P));
    EXPECT_EQ(view.action({6, 0})->shortcut(), QKeySequence(Qt::Key_F1));
    // Without a book the book-dependent menus are grayed.
    for (int popup : {1, 2, 3, 4, 5})
        EXPECT_FALSE(view.action({popup})->isEnabled()) << popup;
    EXPECT_FALSE(view.action({0, 5, 0, 0})->isEnabled());
    // Without a settings file no language item carries the check yet.
    EXPECT_TRUE(view.action({0, 8, 0})->isEnabled());
    EXPECT_TRUE(view.action({0, 8, 1})->isEnabled());
}

TEST(MenuBarView, ChoosingEnglishRewritesEveryItemAndChecksIt)
{
    WindowFixture fixture;
    MenuBarView& view = fixture.window().menuBarView();
    view.action({0, 8, 1})->trigger();
    EXPECT_EQ(fixture.commands(), std::vector<int>{cmd::kEnglish});
    EXPECT_EQ(fixture.controller().languageOffset(), 200);
    expectMenuShows(fixture, 200);
    EXPECT_EQ(view.action({0, 0})->text(), QStringLiteral("&Open"));
    EXPECT_EQ(view.action({3, 2})->text(), QStringLiteral("Swi&tch to..."));
    EXPECT_EQ(view.action({1, 2})->text(), QStringLiteral("Page"));
    EXPECT_EQ(view.action({0, 8, 1})->text(), QStringLiteral("English"));
    EXPECT_TRUE(view.action({0, 8, 1})->isChecked());
    EXPECT_FALSE(view.action({0, 8, 1})->isEnabled());
    EXPECT_FALSE(view.action({0, 8, 0})->isChecked());
    EXPECT_TRUE(view.action({0, 8, 0})->isEnabled());

    view.action({0, 8, 0})->trigger();
    expectMenuShows(fixture, 0);
    EXPECT_EQ(view.action({1, 3, 0})->text(), QStringLiteral("Fußnote"));
    EXPECT_TRUE(view.action({0, 8, 0})->isChecked());
    EXPECT_FALSE(view.action({0, 8, 0})->isEnabled());
}

TEST(MenuBarView, ShortcutsAreDrawnAsTheMenuSpellsThem)
{
    WindowFixture fixture;
    MenuBarView& view = fixture.window().menuBarView();
    EXPECT_EQ(view.shownShortcut({0, 0}), QStringLiteral("Strg+O"));
    EXPECT_EQ(view.shownShortcut({1, 0, 1}), QStringLiteral("Umsch+P"));
    EXPECT_EQ(view.shownShortcut({2, 4}), QStringLiteral("Leer"));
    EXPECT_EQ(view.shownShortcut({0, 5}), QString());
    view.action({0, 8, 1})->trigger();
    EXPECT_EQ(view.shownShortcut({0, 0}), QStringLiteral("Ctrl+O"));
    EXPECT_EQ(view.shownShortcut({1, 0, 1}), QStringLiteral("Shift+P"));
    EXPECT_EQ(view.shownShortcut({2, 4}), QStringLiteral("Space"));
    // The actions keep their key sequences.
    EXPECT_EQ(view.action({1, 0, 1})->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_P));
}

TEST(MenuBarView, GrayedAndCheckedStatesSurviveALanguageChange)
{
    WindowFixture fixture;
    fixture.enableBookMenus();
    fixture.menu().setChecked(cmd::kSkipFootnotes, true);
    fixture.window().menuBarView().redraw();
    expectMenuShows(fixture, kMenuTexts);
    fixture.window().menuBarView().action({0, 8, 1})->trigger();
    expectMenuShows(fixture, 200);
    EXPECT_TRUE(fixture.window().menuBarView().action({1, 3, 0})->isChecked());
    EXPECT_TRUE(fixture.window().menuBarView().action({1, 0, 0})->isEnabled());
}

TEST(MenuBarView, ACheckableItemKeepsTheModelsCheckWhenChosen)
{
    WindowFixture fixture;
    fixture.enableBookMenus();
    QAction* footnotes = fixture.window().menuBarView().action({1, 3, 0});
    fixture.menu().setChecked(cmd::kSkipFootnotes, true);
    fixture.window().menuBarView().redraw();
    ASSERT_TRUE(footnotes->isCheckable());
    // Qt would flip the check; the command's handler decides (and here keeps it).
    footnotes->trigger();
    EXPECT_EQ(fixture.commands(), std::vector<int>{cmd::kSkipFootnotes});
    EXPECT_TRUE(footnotes->isChecked());
}

TEST(MenuBarView, TheHelpItemSendsItsCommandAndGrayedItemsSendNone)
{
    WindowFixture fixture;
    MenuBarView& view = fixture.window().menuBarView();
    view.action({6, 0})->trigger();
    view.action({1, 0, 0})->trigger();  // grayed: phrase forward
    EXPECT_EQ(fixture.commands(), std::vector<int>{cmd::kHelp});
}

// A menu bar of the built-in model outside any window, recording what it reports.
class MenuSelectTest : public ::testing::Test {
protected:
    MenuSelectTest()
    {
        view.setModel(model);
        view.setCommandSender([this](int command) { events.push_back("command " + std::to_string(command)); });
        view.setMenuSelectHandler([this](bool closed) { events.push_back(closed ? "closed" : "open"); });
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QMenu* menuAt(const MenuModel::Path& path) const { return view.action(path)->menu(); }

    MenuModel model = MenuModel::builtIn();
    QMainWindow window;
    MenuBarView view{*window.menuBar()};
    std::vector<std::string> events;
};

TEST_F(MenuSelectTest, OpeningReportsAMenuAndClosingReportsItClosed)
{
    QMenu* daisy = menuAt(model.barMenuOf(cmd::kOpen));
    daisy->popup(QPoint(0, 0));
    EXPECT_EQ(events, std::vector<std::string>{"open"});
    daisy->hide();
    EXPECT_EQ(events, std::vector<std::string>{"open"});
    QTRY_COMPARE(events.size(), std::size_t(2));
    EXPECT_EQ(events.back(), "closed");
}

TEST_F(MenuSelectTest, MovingToTheNextMenuReportsNoClose)
{
    menuAt(model.barMenuOf(cmd::kOpen))->popup(QPoint(0, 0));
    menuAt(model.barMenuOf(cmd::kOpen))->hide();
    menuAt(model.barMenuOf(cmd::kAbout))->popup(QPoint(0, 0));
    QApplication::processEvents();
    EXPECT_EQ(events, (std::vector<std::string>{"open", "open"}));
    menuAt(model.barMenuOf(cmd::kAbout))->hide();
    QTRY_COMPARE(events.size(), std::size_t(3));
    EXPECT_EQ(events.back(), "closed");
}

TEST_F(MenuSelectTest, AChosenItemsCommandComesAfterTheClose)
{
    QMenu* daisy = menuAt(model.barMenuOf(cmd::kOpen));
    daisy->popup(QPoint(0, 0));
    QAction* open = view.action({0, 0});
    daisy->setActiveAction(open);
    QTest::keyClick(daisy, Qt::Key_Return);
    EXPECT_EQ(events, (std::vector<std::string>{"open", "closed", "command 32774"}));
    QApplication::processEvents();
    EXPECT_EQ(events.size(), 3u);
}

// The item as the accessibility bridge reaches it: through its menu.
QAccessibleInterface* accessibleItem(MenuBarView& view, const MenuModel::Path& path)
{
    QAction* action = view.action(path);
    QMenu* menu = qobject_cast<QMenu*>(action->associatedObjects().value(0));
    if (!menu)
        return nullptr;
    return QAccessible::queryAccessibleInterface(menu)->child(static_cast<int>(menu->actions().indexOf(action)));
}

TEST_F(MenuSelectTest, CheckAndRadioItemsTellTheirStateAndGrayedItemsTheirs)
{
    model.setChecked(cmd::kSkipFootnotes, true);
    model.setEnabledAt({1, 3}, true);
    model.setGrayed(cmd::kSkipFootnotes, false);
    setMenuLanguage(model, StringTable::builtIn(), 0);
    view.redraw();
    struct Case {
        MenuModel::Path path;
        QAccessible::Role role;
        const char* name;
        bool checked;
        bool disabled;
    };
    const std::vector<Case> cases = {
        {{2, 5}, QAccessible::CheckBox, "Autom. Wiedergabe", false, true},  // never checked yet
        {{1, 3, 0}, QAccessible::CheckBox, "Fußnote", true, false},
        {{1, 3, 1}, QAccessible::CheckBox, "Seitenrand", false, true},
        {{0, 8, 0}, QAccessible::RadioButton, "Deutsch", true, false},  // the current language: not grayed
        {{0, 8, 1}, QAccessible::RadioButton, "English", false, false},
        {{3, 0, 0}, QAccessible::RadioButton, "Hintergrund", false, true},
        {{1, 0, 0}, QAccessible::MenuItem, "vorwärts", false, true},
        {{0, 0}, QAccessible::MenuItem, "Öffnen", false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QAccessibleInterface* item = accessibleItem(view, c.path);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->role(), c.role);
        EXPECT_EQ(item->text(QAccessible::Name), QString::fromUtf8(c.name));
        EXPECT_EQ(bool(item->state().checked), c.checked);
        EXPECT_EQ(bool(item->state().checkable), c.role != QAccessible::MenuItem);
        EXPECT_EQ(bool(item->state().disabled), c.disabled);
        // A screen reader drops an item its menu does not count as its own.
        QAccessibleInterface* menu = item->parent();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->object(), view.action(c.path)->associatedObjects().value(0));
        EXPECT_EQ(menu->child(menu->indexOfChild(item)), item);
        EXPECT_EQ(menu->role(), QAccessible::PopupMenu);
    }
    // Pressed through the screen reader, a grayed item does nothing either.
    accessibleItem(view, {1, 0, 0})->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    accessibleItem(view, {0, 8, 0})->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(events.empty());
}

TEST_F(MenuSelectTest, TheArrowKeysReachGrayedItemsWhichCannotBeChosen)
{
    setMenuLanguage(model, StringTable::builtIn(), 0);
    view.redraw();
    QMenu* navigation = menuAt(model.barMenuOf(cmd::kPhraseForward));
    navigation->popup(QPoint(0, 0));
    QTest::keyClick(navigation, Qt::Key_Down);
    EXPECT_EQ(navigation->activeAction(), view.action({1, 0}));
    QTest::keyClick(navigation, Qt::Key_Up);
    EXPECT_EQ(navigation->activeAction(), view.action({1, 7}));  // grayed: "Überschrift"
    QTest::keyClick(navigation, Qt::Key_Return);
    EXPECT_TRUE(navigation->isVisible());
    navigation->hide();

    QMenu* language = menuAt({0, 8});
    language->popup(QPoint(0, 0));
    QTest::keyClick(language, Qt::Key_Down);
    EXPECT_EQ(language->activeAction(), view.action({0, 8, 0}));  // the current one, disabled
    QTest::keyClick(language, Qt::Key_Return);
    EXPECT_TRUE(language->isVisible());
    QTest::keyClick(language, Qt::Key_Down);
    EXPECT_EQ(language->activeAction(), view.action({0, 8, 1}));
    QTest::keyClick(language, Qt::Key_Return);
    EXPECT_EQ(events.back(), "command " + std::to_string(cmd::kEnglish));
}

}  // namespace
}  // namespace korvin
