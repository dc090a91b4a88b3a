// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/qtlistbox.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

#include "platform/listboxcontract.h"

namespace korvin {
namespace {

// The list box in a shown, active window, with a second control to take the focus.
class QtHarness final : public test::ListBoxHarness {
public:
    QtHarness()
    {
        m_list.widget().resize(200, 200);
        m_window.show();
        m_window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&m_window));
    }
    ListBox& list() override { return m_list; }
    void focusList() override
    {
        m_list.widget().setFocus(Qt::TabFocusReason);
        EXPECT_TRUE(m_list.widget().hasFocus());
    }
    void focusElsewhere() override
    {
        m_elsewhere.setFocus(Qt::TabFocusReason);
        EXPECT_TRUE(m_elsewhere.hasFocus());
    }

private:
    QWidget m_window;
    QtListBox m_list{1026, &m_window};
    QLineEdit m_elsewhere{&m_window};
};

using test::ListBoxContract;
INSTANTIATE_TEST_SUITE_P(Qt, ListBoxContract,
                         ::testing::Values(test::ListBoxContractCase{"Qt",
                                                                     [] { return std::make_unique<QtHarness>(); }}),
                         test::listBoxCaseName);

class QtListBoxTest : public ::testing::Test {
protected:
    QtListBoxTest()
    {
        list.setNotifier([this](int controlId) { notified.push_back(controlId); });
        list.widget().resize(200, 200);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QWidget window;
    QtListBox list{1026, &window};
    std::vector<int> notified;
};

TEST_F(QtListBoxTest, KeepsItsLinesInTheirOrder)
{
    EXPECT_EQ(list.addString("Zebra"), 0);
    EXPECT_EQ(list.addString("Affe"), 1);
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.text(0), "Zebra");
    EXPECT_EQ(list.text(5), "");
    list.deleteString(0);
    list.deleteString(7);
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(list.text(0), "Affe");
    list.resetContent();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.currentIndex(), -1);
}

TEST_F(QtListBoxTest, TheProgramsSelectionDoesNotNotify)
{
    list.addString("eins");
    list.addString("zwei");
    list.setCurrentIndex(1);
    EXPECT_EQ(list.currentIndex(), 1);
    list.setCurrentIndex(-1);
    EXPECT_EQ(list.currentIndex(), -1);
    list.setCurrentIndex(0);
    list.deleteString(0);
    list.resetContent();
    EXPECT_TRUE(notified.empty());
}

TEST_F(QtListBoxTest, TheListenersSelectionNotifiesOnce)
{
    list.addString("eins");
    list.addString("zwei");
    list.addString("drei");
    list.setCurrentIndex(0);
    list.widget().setFocus();
    QTest::keyClick(&list.widget(), Qt::Key_Down);
    EXPECT_EQ(notified, std::vector<int>{1026});
    EXPECT_EQ(list.currentIndex(), 1);
    QTest::mouseClick(list.widget().viewport(), Qt::LeftButton, {},
                      list.widget().visualItemRect(list.widget().item(2)).center());
    EXPECT_EQ(notified, (std::vector<int>{1026, 1026}));
    EXPECT_EQ(list.currentIndex(), 2);
}

// A list view tells the screen reader that its current item has the focus
// whenever the current line changes (the offscreen platform has no screen
// reader to show it): the program's choice of a line in a list without the
// focus must change the current line without that signal.
TEST_F(QtListBoxTest, TheProgramsSelectionInAListWithoutTheFocusIsQuiet)
{
    QLineEdit elsewhere(&window);
    elsewhere.show();
    elsewhere.setFocus();
    list.addString("eins");
    list.addString("zwei");
    int currentChanges = 0;
    QObject::connect(&list.widget(), &QListWidget::currentRowChanged, [&] { ++currentChanges; });
    list.setCurrentIndex(1);
    EXPECT_EQ(currentChanges, 0);
    EXPECT_EQ(list.currentIndex(), 1);
    EXPECT_EQ(list.widget().currentRow(), 1);
    EXPECT_TRUE(elsewhere.hasFocus());

    list.widget().setFocus();
    list.setCurrentIndex(0);
    EXPECT_EQ(currentChanges, 1);
    QTest::keyClick(&list.widget(), Qt::Key_Down);  // the keys go on from the line set
    EXPECT_EQ(list.currentIndex(), 1);
}

// Taking the current line away, the view would make a neighbour current and
// say so to the screen reader, wherever the focus is.
TEST_F(QtListBoxTest, DeletingTheChosenLineMakesNoOtherLineCurrent)
{
    QLineEdit elsewhere(&window);
    elsewhere.show();
    elsewhere.setFocus();
    for (const char* line : {"eins", "zwei", "drei"})
        list.addString(line);
    list.setCurrentIndex(1);
    int currentChanges = 0;
    QObject::connect(&list.widget(), &QListWidget::currentRowChanged, [&] { ++currentChanges; });
    list.deleteString(1);
    EXPECT_EQ(currentChanges, 0);
    EXPECT_EQ(list.widget().currentRow(), -1);
    EXPECT_EQ(list.currentIndex(), -1);
}

TEST_F(QtListBoxTest, CanBeDisabled)
{
    list.setEnabled(false);
    EXPECT_FALSE(list.isEnabled());
    EXPECT_FALSE(list.widget().isEnabled());
    list.setEnabled(true);
    EXPECT_TRUE(list.isEnabled());
}

}  // namespace
}  // namespace korvin
