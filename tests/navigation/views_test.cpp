// SPDX-License-Identifier: GPL-3.0-or-later
#include "navigation/views.h"

#include <tuple>

#include <gtest/gtest.h>

#include "platform/controlids.h"
#include "support/controllerharness.h"
#include "support/testbook.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

using test::ControllerHarness;
using test::TestBook;

// Three groups over two headings:
//
//   group  label  link              finds
//   0      A      a.smil#txt_p2     phrase row 1 (its Text-ID)
//   1      B      b.smil#p4         only a par-id: heading "Zwei" alone (row 2)
//   2      C      b.smil#txt_p4     phrase row 3
class ViewsTest : public ::testing::Test {
protected:
    ViewsTest()
    {
        m_book.writeNcc(TestBook::Ncc()
                            .heading(1, "Eins", "a.smil#p1")
                            .group("A", "a.smil#txt_p2")
                            .heading(1, "Zwei", "b.smil#p3")
                            .group("B", "b.smil#p4")
                            .group("C", "b.smil#txt_p4"));
        m_book.writeSmil("a.smil", TestBook::Smil()
                                       .par("p1", "t.html#t1", {{"a.mp3", "0.000", "2.000"}})
                                       .par("p2", "t.html#t2", {{"a.mp3", "2.000", "4.000"}}, "footnote-on"));
        m_book.writeSmil("b.smil", TestBook::Smil()
                                       .par("p3", "t.html#t3", {{"b.mp3", "0.000", "2.000"}})
                                       .par("p4", "t.html#t4", {{"b.mp3", "2.000", "4.000"}}));
        m_harness.player.addFile(m_book.folder() + "a.mp3", 4.2);
        m_harness.player.addFile(m_book.folder() + "b.mp3", 4.2);
        m_harness.openBook(m_book.folder());
    }

    MainController& controller() { return m_harness.controller(); }
    bool grayed(int command) { return controller().menu().isGrayed(command); }
    int heading() { return controller().tree().itemData(controller().tree().selectedItem()); }
    void chooseGroup(int line)
    {
        m_harness.groupList.setCurrentIndex(line);
        controller().notify(control::kGroupList, notify::kSelectionChanged, line);
    }

    ControllerHarness m_harness;
    TestBook m_book;
};

TEST_F(ViewsTest, GroupStepsJumpByTextIdOnlyGrayAtTheEndsAndMoveTheListAlong)
{
    EXPECT_EQ(m_harness.groupList.lines(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_FALSE(grayed(cmd::kGroupNext));
    EXPECT_TRUE(grayed(cmd::kGroupPrevious));
    // Command, then the group, the heading and the phrase reached.
    for (const auto& [command, group, heading, phrase] :
         {std::tuple{cmd::kGroupNext, 0, 0, 1}, {cmd::kGroupNext, 1, 1, 2}, {cmd::kGroupNext, 2, 1, 3},
          {cmd::kGroupNext, 2, 1, 3}, {cmd::kGroupPrevious, 1, 1, 3}, {cmd::kGroupPrevious, 0, 0, 1},
          {cmd::kGroupPrevious, 0, 0, 1}}) {
        SCOPED_TRACE(testing::Message() << "to group " << group);
        controller().command(command);
        EXPECT_EQ(controller().tables().groups.selectionMark(), group);
        EXPECT_EQ(m_harness.groupList.currentIndex(), group);
        EXPECT_EQ(this->heading(), heading);
        EXPECT_EQ(m_harness.selectedPhrase(), phrase);
        EXPECT_EQ(grayed(cmd::kGroupPrevious), group == 0);
        EXPECT_EQ(grayed(cmd::kGroupNext), group == 2);
    }
}

TEST_F(ViewsTest, AChosenGroupSendsTheFocusToTheViewChosenLast)
{
    EXPECT_FALSE(controller().state().navigationViewActive);
    chooseGroup(2);  // no view chosen since the start: the text
    EXPECT_EQ(m_harness.windowView.focus, control::kTextView);
    EXPECT_EQ(m_harness.selectedPhrase(), 3);

    controller().command(cmd::kSwitchToNavigation);
    EXPECT_EQ(m_harness.windowView.focus, control::kHeadingTree);
    controller().command(cmd::kSwitchToText);
    EXPECT_EQ(m_harness.windowView.focus, control::kTextView);
    EXPECT_FALSE(controller().state().navigationViewActive);
    // Tab back to the tree sets the flag although T came last.
    controller().notify(control::kHeadingTree, notify::kSetFocus);
    chooseGroup(0);
    EXPECT_EQ(m_harness.windowView.focus, control::kHeadingTree);
    EXPECT_EQ(m_harness.selectedPhrase(), 1);
}

TEST_F(ViewsTest, TheGroupAlreadyCurrentChosenAgainAfterPlaybackMovedOnJumpsBack)
{
    controller().command(cmd::kAutoPlayback);
    for (const int pass : {1, 2}) {
        chooseGroup(0);
        EXPECT_EQ(m_harness.selectedPhrase(), 1) << pass;
        m_harness.advance(4500);  // on into the next heading (a group jump does not seek)
        ASSERT_EQ(heading(), 1) << pass;
    }
}

TEST_F(ViewsTest, SkipTogglesFollowTheirCheckMarks)
{
    EXPECT_TRUE(grayed(cmd::kSkipSidebars));
    controller().command(cmd::kSkipSidebars);  // grayed: nothing
    EXPECT_FALSE(controller().settings().skipSidebars);
    for (bool on : {true, false, true}) {
        controller().command(cmd::kSkipFootnotes);
        EXPECT_EQ(controller().settings().skipFootnotes, on);
        EXPECT_EQ(controller().menu().isChecked(cmd::kSkipFootnotes), on);
    }
}

TEST(ViewsEdgeTest, EachSkipCommandTogglesItsOwnFlagInABookWithEveryKind)
{
    ControllerHarness harness;
    TestBook book;
    book.writeNcc(TestBook::Ncc().heading(1, "Eins", "a.smil#p1"));
    book.writeSmil("a.smil", TestBook::Smil()
                                 .par("p1", "t.html#1", {{"a.mp3", "0.000", "1.000"}}, "footnote-on")
                                 .par("p2", "t.html#2", {{"a.mp3", "1.000", "2.000"}}, "sidebar-on")
                                 .par("p3", "t.html#3", {{"a.mp3", "2.000", "3.000"}}, "prodnote-on")
                                 .par("p4", "t.html#4", {{"a.mp3", "3.000", "4.000"}}, "pagenumber-on"));
    harness.openBook(book.folder());
    const Settings& settings = harness.controller().settings();
    const bool* flags[] = {&settings.skipFootnotes, &settings.skipSidebars, &settings.skipProdnotes,
                           &settings.skipPageNumbers};
    const int commands[] = {cmd::kSkipFootnotes, cmd::kSkipSidebars, cmd::kSkipProdnotes, cmd::kSkipPageNumbers};
    for (int chosen = 0; chosen < 4; ++chosen) {
        harness.controller().command(commands[chosen]);
        for (int other = 0; other < 4; ++other)
            EXPECT_EQ(*flags[other], other == chosen) << chosen << " " << other;
        harness.controller().command(commands[chosen]);
        EXPECT_FALSE(*flags[chosen]) << chosen;
    }
}

TEST(ViewsEdgeTest, ABookWithoutGroupsIgnoresTheListAndTheKeys)
{
    ControllerHarness harness;
    TestBook book;
    book.writeNcc(TestBook::Ncc().heading(1, "Eins", "a.smil#p1"));
    book.writeSmil("a.smil", TestBook::Smil().par("p1", "t.html#t1", {{"a.mp3", "0.000", "2.000"}}));
    harness.openBook(book.folder());
    MainController& controller = harness.controller();
    harness.windowView.focus = 0;
    controller.notify(control::kGroupList, notify::kSelectionChanged, 0);
    controller.command(cmd::kGroupNext);
    EXPECT_EQ(harness.windowView.focus, 0);
    EXPECT_EQ(controller.tables().groups.selectionMark(), -1);
    EXPECT_TRUE(controller.menu().isGrayed(cmd::kGroupNext));
}

}  // namespace
}  // namespace korvin
