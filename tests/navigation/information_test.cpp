// SPDX-License-Identifier: GPL-3.0-or-later
#include "navigation/information.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "support/controllerharness.h"
#include "support/testbook.h"
#include "support/timedbook.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

using test::ControllerHarness;
using test::TestBook;
using PlayTime = InformationTexts::PlayTime;

const StringTable& strings()
{
    static const StringTable table = StringTable::builtIn();
    return table;
}

TEST(InformationTexts, DurationsDropTheFractionAndUseTheWordFormsForOne)
{
    struct Case {
        double seconds;
        const char* german;
        const char* english;
    };
    for (const Case& c : {
             Case{0.99, "0 Stunden, 0 Minuten und 0 Sekunden", "0 hours, 0 minutes and 0 seconds"},
             Case{-5, "0 Stunden, 0 Minuten und 0 Sekunden", "0 hours, 0 minutes and 0 seconds"},
             Case{std::nan(""), "0 Stunden, 0 Minuten und 0 Sekunden", "0 hours, 0 minutes and 0 seconds"},
             Case{1, "0 Stunden, 0 Minuten und eine Sekunde", "0 hours, 0 minutes and one second"},
             Case{59, "0 Stunden, 0 Minuten und 59 Sekunden", "0 hours, 0 minutes and 59 seconds"},
             Case{3599.99, "0 Stunden, 59 Minuten und 59 Sekunden", "0 hours, 59 minutes and 59 seconds"},
             Case{3725.9, "eine Stunde, 2 Minuten und 5 Sekunden", "one hour, 2 minutes and 5 seconds"},
             Case{3661, "eine Stunde, eine Minute und eine Sekunde", "one hour, one minute and one second"},
             Case{90000, "25 Stunden, 0 Minuten und 0 Sekunden", "25 hours, 0 minutes and 0 seconds"},
             Case{std::numeric_limits<double>::infinity(), "277777777777 Stunden, 46 Minuten und 40 Sekunden",
                  "277777777777 hours, 46 minutes and 40 seconds"},
         }) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(InformationTexts(strings(), 0).duration(c.seconds), c.german);
        EXPECT_EQ(InformationTexts(strings(), 200).duration(c.seconds), c.english);
    }
}

TEST(InformationTexts, SentencesInBothLanguages)
{
    const InformationTexts de(strings(), 0);
    const InformationTexts en(strings(), 200);
    EXPECT_EQ(en.playTime(PlayTime::kRemaining, 7210, false), "Remaining time 2 hours, 0 minutes and 10 seconds");
    EXPECT_EQ(de.entries("1"), "Ein Eintrag in diesem Buch.");
    EXPECT_EQ(en.entries(""), " entries in this book.");
    EXPECT_EQ(de.levels(1), "Dieses Buch ist in einer Hierarchieebene gegliedert.");
    EXPECT_EQ(en.levels(3), "This book is structured in 3 levels.");
    EXPECT_EQ(en.headingIndex(4, "42"), "You are at heading 5 of 42.");
    EXPECT_EQ(en.headingLevel("2"), "You are on level 2 .");
}

// "Wo bin ich?" on a book of two headings with pages, while the sleep timer runs.
TEST(WhereAmI, TellsTheHeadingThePageTheTimesAndTheSleepTimerAndTheBookPlaysOn)
{
    ControllerHarness harness;
    TestBook book;
    test::openTimedBook(book, harness,
                        {{1, "Eins", {{"a.mp3", 0, 30}, {"a.mp3", 30, 60}}}, {2, "Zwei", {{"b.mp3", 0, 40}}}},
                        {.totalTime = "0:01:40"});
    MainController& controller = harness.controller();
    controller.command(cmd::kSleepTimer15);
    harness.advance(45000);
    controller.command(cmd::kWhereAmI);
    ASSERT_EQ(harness.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(harness.messageBoxes.shown.back().text,
              "Sie befinden sich auf Überschrift 1 von 2: Eins. Seite 1. "
              "In dieser Überschrift gehört: 0 Stunden, 0 Minuten und 45 Sekunden; "
              "Rest: 0 Stunden, 0 Minuten und 15 Sekunden. "
              "Im Buch gehört: 0 Stunden, 0 Minuten und 45 Sekunden; Rest: 0 Stunden, 0 Minuten und 55 Sekunden. "
              "Der Schlaf-Timer endet in 0 Stunden, 14 Minuten und 15 Sekunden.");
    EXPECT_EQ(harness.messageBoxes.shown.back().caption, "Information");
    EXPECT_EQ(harness.player.playState(), MediaPlayer::kPlaying);

    controller.command(cmd::kEnglish);
    controller.command(cmd::kSleepTimerEndOfHeading);
    controller.tables().tree.select(1);
    harness.advance(10000);
    controller.command(cmd::kWhereAmI);
    EXPECT_EQ(
        harness.messageBoxes.shown.back().text,
        "You are at heading 2 of 2: Zwei. Page 2. "
        "In this heading elapsed: 0 hours, 0 minutes and 10 seconds; remaining: 0 hours, 0 minutes and 30 seconds. "
        "In the book elapsed: 0 hours, one minute and 10 seconds; remaining: 0 hours, 0 minutes and 30 seconds. "
        "The sleep timer ends at the end of the heading.");
}

// Two headings whose audio shares one file: "Zwei" begins 4 s into a.mp3.
class InformationTest : public ::testing::Test {
protected:
    void open(const std::string& totalTime)
    {
        m_book.writeNcc(TestBook::Ncc()
                            .meta("ncc:totalTime", totalTime)
                            .meta("ncc:tocItems", "2")
                            .heading(1, "Eins", "a.smil#p1")
                            .heading(2, "Zwei", "b.smil#p3"));
        m_book.writeSmil("a.smil", TestBook::Smil()
                                       .totalElapsedTime("0:00:00")
                                       .par("p1", "t.html#t1", {{"a.mp3", "0.000", "2.000"}})
                                       .par("p2", "t.html#t2", {{"a.mp3", "2.000", "4.000"}}));
        m_book.writeSmil("b.smil", TestBook::Smil()
                                       .totalElapsedTime("0:00:04")
                                       .par("p3", "t.html#t3", {{"a.mp3", "4.000", "6.000"}})
                                       .par("p4", "t.html#t4", {{"a.mp3", "6.000", "8.000"}}));
        m_harness.player.addFile(m_book.folder() + "a.mp3", 9.5);
        m_harness.openBook(m_book.folder());
        HeadingTree& tree = controller().tree();
        tree.select(tree.nextInOrder(tree.firstItem()));
        m_harness.advance(3500);  // 7.5 s into the file, 1.5 s into "p4"
    }
    std::string answer(int command)
    {
        controller().command(command);
        return m_harness.messageBoxes.shown.empty() ? "<none>" : m_harness.messageBoxes.shown.back().text;
    }
    MainController& controller() { return m_harness.controller(); }

    ControllerHarness m_harness;
    TestBook m_book;
};

TEST_F(InformationTest, BookTimesCountFromTheHeadingsOwnStartInItsFileAndTheBookPlaysAfterwards)
{
    open("0:00:10");
    ASSERT_EQ(m_harness.selectedPhrase(), 3);
    controller().command(cmd::kPauseContinue);  // paused before, playing after
    int stateWhileOpen = -1;
    m_harness.messageBoxes.whileShowing = [&] { stateWhileOpen = m_harness.player.playState(); };
    for (const auto& [command, text] : {
             std::pair{cmd::kBookElapsedTime, "Die gehörte Spieldauer beträgt 0 Stunden, 0 Minuten und 7 Sekunden."},
             std::pair{cmd::kBookRemainingTime, "Die restliche Spieldauer beträgt 0 Stunden, 0 Minuten und 2 Sekunden"},
             std::pair{cmd::kTitleTotalTime, "Die Gesamtspieldauer beträgt 0 Stunden, 0 Minuten und 9 Sekunden."},
             std::pair{cmd::kTitleRemainingTime, "Die restliche Spieldauer beträgt 0 Stunden, 0 Minuten und 2 Sekunden."},
             std::pair{cmd::kLevels, "Dieses Buch ist in 2 Hierarchieebenen gegliedert."},
             std::pair{cmd::kHeadingIndex, "Sie befinden sich auf Überschrift 2 von insgesamt 2."},
         }) {
        EXPECT_EQ(answer(command), text);
        EXPECT_EQ(m_harness.messageBoxes.shown.back().caption, "Information");
        EXPECT_EQ(m_harness.messageBoxes.shown.back().icon, MessageBoxes::Icon::kInformation);
        EXPECT_EQ(stateWhileOpen, MediaPlayer::kPaused);
        EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
    }
}

TEST_F(InformationTest, ATotalTimeThatIsNoTimeReadsAsZeroAndTheRemainderNeverGoesBelowZero)
{
    open("unbekannt");
    EXPECT_EQ(answer(cmd::kBookTotalTime), "Die Gesamtspieldauer beträgt 0 Stunden, 0 Minuten und 0 Sekunden.");
    EXPECT_EQ(answer(cmd::kBookRemainingTime), "Die restliche Spieldauer beträgt 0 Stunden, 0 Minuten und 0 Sekunden");
}

TEST(InformationAlone, MediaEndedCountsAsPositionZeroAndStaysEnded)
{
    test::VirtualClock clock;
    test::SimulatedPlayer player(clock);
    test::FakeMessageBoxes boxes;
    test::FakeMenuBar menuBar;
    player.setEndedState(MediaPlayer::kMediaEnded);
    player.addFile("/b/a.mp3", 65.5);
    player.setUrl("/b/a.mp3");
    player.setPosition(65.0);
    player.play();
    clock.advance(1000);
    ASSERT_EQ(player.playState(), MediaPlayer::kMediaEnded);

    const BookTables tables;
    const BookInfo info;
    const StringTable& table = strings();
    const int german = 0;
    Information information(Information::Parts{tables, info, table, german, {}},
                            Information::Services{player, boxes, menuBar});
    for (auto answer : {&Information::titleElapsedTime, &Information::titleRemainingTime, &Information::levels,
                        &Information::headingIndex})
        (information.*answer)();
    ASSERT_EQ(boxes.shown.size(), 4u);
    EXPECT_EQ(boxes.shown[0].text, "Die gehörte Spieldauer beträgt 0 Stunden, 0 Minuten und 0 Sekunden.");
    EXPECT_EQ(boxes.shown[1].text, "Die restliche Spieldauer beträgt 0 Stunden, eine Minute und 5 Sekunden.");
    EXPECT_EQ(boxes.shown[2].text, "Dieses Buch ist in einer Hierarchieebene gegliedert.");  // no headings
    EXPECT_EQ(boxes.shown[3].text, "Sie befinden sich auf Überschrift 1 von insgesamt .");
    EXPECT_EQ(player.playState(), MediaPlayer::kMediaEnded);
}

}  // namespace
}  // namespace korvin
