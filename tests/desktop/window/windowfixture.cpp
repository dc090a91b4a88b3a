// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowfixture.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include "app/maincontroller.h"
#include "desktop/window/desktopwindow.h"
#include "desktop/window/menubarview.h"
#include "ui/commandids.h"
#include "ui/menustates.h"
#include "support/sourcepaths.h"

namespace korvin::test {

namespace {

Folders foldersIn(const TempDir& home)
{
    Folders folders;
    folders.state = home.path().string();
    folders.data = korvin::test::sourceDir() + "/resources";
    return folders;
}

}  // namespace

WindowFixture::WindowFixture()
    : m_program(foldersIn(m_home))
{
    m_carriedOut = {cmd::kExit, cmd::kGerman, cmd::kEnglish, cmd::kGroupNext, cmd::kGroupPrevious};
    m_program.window().setCommandHook([this](int command) {
        m_commands.push_back(command);
        return m_carriedOut.count(command) != 0;
    });
    m_program.start();
    m_program.window().activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&m_program.window()));
}

WindowFixture::~WindowFixture() = default;

DesktopWindow& WindowFixture::window() const
{
    return m_program.window();
}

MainController& WindowFixture::controller() const
{
    return m_program.controller();
}

MenuModel& WindowFixture::menu() const
{
    // The controller owns a non-const model and changes it itself; the tests
    // stand in for the Parts that would.
    return const_cast<MenuModel&>(m_program.controller().menu());
}

void WindowFixture::enableBookMenus()
{
    FeatureFlags all;
    all.audio = all.groups = all.pages = all.footnotes = all.sidebars = all.prodnotes = all.pageNumbers =
        all.textDocuments = true;
    enableBookItems(menu(), all, 2, true);
    window().menuBarView().redraw();
}

QWidget* WindowFixture::focusTarget() const
{
    QWidget* focused = QApplication::focusWidget();
    return focused ? focused : &window();
}

void WindowFixture::press(Qt::Key key, Qt::KeyboardModifiers modifiers, QWidget* target)
{
    QTest::keyClick(target ? target : focusTarget(), key, modifiers);
}

void WindowFixture::pressWithText(Qt::Key key, const QString& text, Qt::KeyboardModifiers modifiers)
{
    QTest::sendKeyEvent(QTest::Click, focusTarget(), key, text, modifiers);
}

}  // namespace korvin::test
