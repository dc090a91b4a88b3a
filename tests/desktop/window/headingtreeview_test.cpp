// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/headingtreeview.h"

#include <QApplication>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace korvin {
namespace {

// A tree of two chapters, the first with two sections, shown in a window.
class HeadingTreeViewTest : public ::testing::Test {
protected:
    HeadingTreeViewTest()
    {
        model.setSelectionListener([this](HeadingTree::Item item) { reported.push_back(item); });
        view.setModel(&model);
        view.setFocusNotifier([this] { ++focusReports; });
        chapter1 = model.insertItem("Kapitel 1");
        section1 = model.insertItem("Abschnitt 1.1", chapter1);
        section2 = model.insertItem("Abschnitt 1.2", chapter1);
        chapter2 = model.insertItem("Kapitel 2");
        view.widget().resize(300, 300);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    ~HeadingTreeViewTest() override { view.setModel(nullptr); }

    QTreeWidget& widget() { return view.widget(); }

    QWidget window;
    HeadingTree model;
    HeadingTreeView view{&window};
    std::vector<HeadingTree::Item> reported;
    int focusReports = 0;
    HeadingTree::Item chapter1 = 0, section1 = 0, section2 = 0, chapter2 = 0;
};

TEST_F(HeadingTreeViewTest, ShowsTheModelsItemsNested)
{
    ASSERT_EQ(widget().topLevelItemCount(), 2);
    EXPECT_EQ(widget().topLevelItem(0)->text(0), QStringLiteral("Kapitel 1"));
    EXPECT_EQ(widget().topLevelItem(0)->childCount(), 2);
    EXPECT_EQ(widget().topLevelItem(0)->child(1)->text(0), QStringLiteral("Abschnitt 1.2"));
    EXPECT_EQ(widget().topLevelItem(1)->text(0), QStringLiteral("Kapitel 2"));
    EXPECT_TRUE(widget().rootIsDecorated());
    EXPECT_FALSE(widget().dragEnabled());
    model.deleteAll();
    EXPECT_EQ(widget().topLevelItemCount(), 0);
}

TEST_F(HeadingTreeViewTest, TheModelsSelectionAndExpansionShow)
{
    model.select(section2);
    EXPECT_EQ(widget().currentItem(), view.itemOf(section2));
    EXPECT_TRUE(view.itemOf(section2)->isSelected());
    EXPECT_TRUE(view.itemOf(chapter1)->isExpanded());
    model.select(chapter2);
    EXPECT_EQ(widget().currentItem(), view.itemOf(chapter2));
    EXPECT_FALSE(view.itemOf(chapter1)->isExpanded());
    // Reported once each, by the model itself.
    EXPECT_EQ(reported, (std::vector<HeadingTree::Item>{section2, chapter2}));
}

TEST_F(HeadingTreeViewTest, TheListenersSelectionGoesToTheModel)
{
    model.select(chapter1);
    reported.clear();
    widget().setFocus();
    QTest::keyClick(&widget(), Qt::Key_Down);
    EXPECT_EQ(model.selectedItem(), section1);
    EXPECT_EQ(reported, std::vector<HeadingTree::Item>{section1});
    QTest::keyClick(&widget(), Qt::Key_End);
    EXPECT_EQ(model.selectedItem(), chapter2);
}

TEST_F(HeadingTreeViewTest, TheListenersExpansionGoesToTheModel)
{
    model.select(chapter2);
    widget().setCurrentItem(view.itemOf(chapter1));
    ASSERT_EQ(model.selectedItem(), chapter1);
    ASSERT_TRUE(model.isExpanded(chapter1));
    QTest::keyClick(&widget(), Qt::Key_Left);
    EXPECT_FALSE(model.isExpanded(chapter1));
    QTest::keyClick(&widget(), Qt::Key_Right);
    EXPECT_TRUE(model.isExpanded(chapter1));
}

TEST_F(HeadingTreeViewTest, GainingTheFocusIsReported)
{
    widget().clearFocus();
    focusReports = 0;
    widget().setFocus();
    EXPECT_EQ(focusReports, 1);
}

TEST_F(HeadingTreeViewTest, AModelFilledBeforehandIsShownWhole)
{
    model.select(section1);
    HeadingTreeView other(&window);
    other.setModel(&model);
    EXPECT_EQ(other.widget().topLevelItemCount(), 2);
    EXPECT_EQ(other.widget().currentItem(), other.itemOf(section1));
    EXPECT_TRUE(other.itemOf(chapter1)->isExpanded());
    other.setModel(nullptr);
    view.setModel(&model);
}

}  // namespace
}  // namespace korvin
