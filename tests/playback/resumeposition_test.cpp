// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/resumeposition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "library/resumefile.h"
#include "library/scrambler.h"
#include "support/controllerharness.h"
#include "support/samplebook.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

using test::ControllerHarness;
using test::TestBook;

class ResumePositionTest : public ::testing::Test {
protected:
    ResumePositionTest() { test::writeSampleBook(m_book, m_harness); }
    MainController& controller() { return m_harness.controller(); }
    int selectedHeading() { return controller().tables().tree.selectedItem(); }

    TestBook m_book;
    ControllerHarness m_harness;
};

TEST_F(ResumePositionTest, TheExactPointLeftIsHeardAgainAfterExitAndLast)
{
    m_harness.openBook(m_book.folder());
    controller().tables().tree.select(1);
    m_harness.advance(3700);
    ASSERT_EQ(m_harness.selectedPhrase(), 5);
    const double left = m_harness.player.position();
    controller().command(cmd::kExit);

    m_harness.restart();
    std::size_t cueAt = 0;
    m_harness.titleCue.whilePlaying = [&] { cueAt = m_harness.player.log().size(); };
    m_harness.player.clearLog();
    controller().command(cmd::kLastBook);
    m_harness.advance(0);
    EXPECT_EQ(selectedHeading(), 1);
    EXPECT_EQ(controller().tables().headings.selectionMark(), 1);
    EXPECT_EQ(m_harness.selectedPhrase(), 5);
    EXPECT_NEAR(m_harness.player.position(), left, 0.0005);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
    // After the title cue and after the phrase's own seek to its begin (3.0).
    const std::vector<std::string>& log = m_harness.player.log();
    const auto lastSeek = std::find_if(log.rbegin(), log.rend(),
                                       [](const std::string& call) { return call.rfind("setPosition", 0) == 0; });
    ASSERT_NE(lastSeek, log.rend());
    EXPECT_EQ(*lastSeek, "setPosition 3.7");
    EXPECT_GT(static_cast<std::size_t>(log.rend() - lastSeek), cueAt);
    EXPECT_NE(std::find(log.begin(), log.end(), "setPosition 3"), log.end());
}

TEST_F(ResumePositionTest, ARecordThatDoesNotFitTheBookStartsItWhereItCan)
{
    m_harness.openBook(m_book.folder());
    const BookInfo info = controller().state().bookInfo;
    struct Case {
        ResumeRecord record;
        int heading;
        int row;
        double position;
    };
    // Heading, position and row as the file holds them.
    const std::vector<Case> cases = {
        {{"2", "1.500", "7"}, 2, 7, 1.5},  {{"99", "2.500", "1"}, 0, 1, 2.5},  // no such heading: the first one
        {{"1", "2.500", "99"}, 0, 0, 0.0},                                     // no such row: the beginning
        {{"0", "2.500", "4"}, 0, 0, 0.0},  // a row of another heading: the beginning
        {{"1", "2.500", "-1"}, 0, 0, 0.0}, {{"", "", ""}, 0, 0, 0.0},
        {{"1", "nan", "3"}, 1, 3, 0.0},    {{"x", "1e999", "1abc"}, 0, 1, 0.0},
    };
    const Scrambler scrambler;
    const ResumeFile file(m_harness.home() + "/AResume.dl", scrambler);
    for (const Case& c : cases) {
        m_harness.dialogs.nccFile.reset();
        controller().command(cmd::kOpen);  // closes the book, cancelled
        ASSERT_TRUE(file.save(info, c.record));
        controller().command(cmd::kLastBook);
        m_harness.advance(0);
        const std::string which = c.record.heading + "/" + c.record.position + "/" + c.record.row;
        EXPECT_EQ(selectedHeading(), c.heading) << which;
        EXPECT_EQ(m_harness.selectedPhrase(), c.row) << which;
        EXPECT_DOUBLE_EQ(m_harness.player.position(), c.position) << which;
        EXPECT_TRUE(m_harness.textView.locationName().find("doc") != std::string::npos) << which;
        EXPECT_FALSE(controller().playback().startPage) << which;
        m_harness.dialogs.nccFile = m_book.folder() + "ncc.html";
        controller().command(cmd::kOpen);  // records the book as the last one again
    }
}

TEST_F(ResumePositionTest, StateFilesThatCannotBeWrittenLeaveTheBookFreeToCloseAndOpen)
{
    std::filesystem::create_directory(m_harness.home() + "/AResume.dl");
    std::filesystem::create_directory(m_harness.home() + "/MResume.dl");
    m_harness.openBook(m_book.folder());
    controller().tables().tree.select(2);
    m_harness.advance(1500);
    controller().command(cmd::kBookmarkSet);
    m_harness.dialogs.nccFile.reset();
    controller().command(cmd::kOpen);
    EXPECT_FALSE(controller().playback().bookOpen);
    controller().command(cmd::kLastBook);
    EXPECT_TRUE(controller().playback().bookOpen);
    EXPECT_EQ(m_harness.selectedPhrase(), 0);
    EXPECT_EQ(m_harness.bookmarkList.count(), 0);
    EXPECT_TRUE(std::filesystem::is_directory(m_harness.home() + "/AResume.dl"));
    EXPECT_TRUE(std::filesystem::is_directory(m_harness.home() + "/MResume.dl"));
}

// Heading 0 is read from the NCC; heading 1 has a phrase of a text (row 2) and
// one of the NCC (row 3). A page at the start makes the NCC phrase of heading 0
// the current one before the resume; without it no phrase is current.
TEST(ResumeSearchInText, ResumingIntoAPhraseOfATextOffersSearchInTheText)
{
    const struct {
        bool page;
        const char* row;
        bool offered;
    } cases[] = {{false, "2", true}, {false, "3", true}, {true, "2", true}, {true, "3", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "page " << c.page << ", row " << c.row);
        ControllerHarness harness;
        TestBook book;
        TestBook::Ncc ncc = TestBook::Ncc().heading(1, "Eins", "a.smil#p1");
        if (c.page)
            ncc.page("1", "a.smil#p1");
        book.writeNcc(ncc.heading(1, "Zwei", "b.smil#p3"));
        book.writeSmil("a.smil", TestBook::Smil()
                                     .par("p1", "ncc.html#h1", {{"a.mp3", "0.000", "1.000"}})
                                     .par("p2", "t.html#x2", {{"a.mp3", "1.000", "2.000"}}));
        book.writeSmil("b.smil", TestBook::Smil()
                                     .par("p3", "t.html#x3", {{"b.mp3", "0.000", "1.000"}})
                                     .par("p4", "ncc.html#h2", {{"b.mp3", "1.000", "2.000"}}));
        harness.player.addFile(book.folder() + "a.mp3", 2.0);
        harness.player.addFile(book.folder() + "b.mp3", 2.0);
        harness.openBook(book.folder());
        const BookInfo info = harness.controller().state().bookInfo;
        harness.dialogs.nccFile.reset();
        harness.controller().command(cmd::kOpen);  // closes the book
        ASSERT_TRUE(ResumeFile(harness.home() + "/AResume.dl", Scrambler()).save(info, {"1", "0.500", c.row}));

        harness.controller().command(cmd::kLastBook);
        ASSERT_EQ(harness.selectedPhrase(), std::stoi(c.row));
        EXPECT_EQ(harness.controller().menu().isGrayed(cmd::kSearchText), !c.offered);
    }
}

}  // namespace
}  // namespace korvin
