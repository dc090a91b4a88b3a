// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/booksession.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/controllerharness.h"
#include "support/samplebook.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

using test::ControllerHarness;
using test::TestBook;

TEST(BookSession, CancellingOpenClosesTheBookAndShowsTheStartPage)
{
    ControllerHarness harness;
    TestBook book;
    test::writeSampleBook(book, harness);
    harness.openBook(book.folder());
    ASSERT_TRUE(harness.controller().playback().bookOpen);

    harness.dialogs.nccFile.reset();
    harness.controller().command(cmd::kOpen);
    EXPECT_FALSE(harness.controller().playback().bookOpen);
    EXPECT_EQ(harness.controller().tables().phrases.rowCount(), 0);
    EXPECT_EQ(harness.controller().tables().tree.count(), 0);
    EXPECT_TRUE(harness.controller().playback().startPage);
    EXPECT_EQ(harness.textView.navigations().back(), harness.dataFolder() + "/documents/html/start_de.html");
    EXPECT_EQ(harness.player.url(), "");
    EXPECT_TRUE(harness.controller().menu().isGrayedAt(harness.controller().menu().barMenuOf(cmd::kPhraseForward)));
    EXPECT_EQ(harness.dialogs.fileTitles.back(), "Ein Buch suchen...");
    EXPECT_EQ(harness.lastBookFile(), book.folder());
}

TEST(BookSession, LastReturnsToTheBookClosedByOpenAndThenGraysItself)
{
    ControllerHarness harness;
    TestBook bookA;
    TestBook bookB;
    test::writeSampleBook(bookA, harness);
    test::writeSampleBook(bookB, harness);
    harness.openBook(bookA.folder());
    harness.openBook(bookB.folder());
    EXPECT_EQ(harness.lastBookFile(), bookA.folder());
    EXPECT_FALSE(harness.controller().menu().isGrayed(cmd::kLastBook));

    harness.controller().command(cmd::kLastBook);
    EXPECT_TRUE(harness.controller().playback().bookOpen);
    EXPECT_EQ(harness.controller().playback().bookFolder, bookA.folder());
    EXPECT_EQ(harness.lastBookFile(), bookA.folder());  // Last does not write it
    EXPECT_TRUE(harness.controller().menu().isGrayed(cmd::kLastBook));
}

TEST(BookSession, TheSameBookOpenedAgainShowsItsHighlightAgain)
{
    ControllerHarness harness;
    TestBook book;
    test::writeSampleBook(book, harness);
    harness.openBook(book.folder());
    harness.advance(60);
    const std::string highlighted = "<SPAN style=\"BACKGROUND-COLOR: #ff8000\">Eins</SPAN>";
    EXPECT_EQ(harness.textView.elementInnerHtml("t1"), highlighted);
    harness.dialogs.nccFile.reset();
    harness.controller().command(cmd::kOpen);  // cancelled: the book is closed
    harness.controller().command(cmd::kLastBook);
    harness.advance(60);
    EXPECT_EQ(harness.textView.elementInnerHtml("t1"), highlighted);
}

TEST(BookSession, AfterExitAndRestartLastOpensTheBookThatWasOpen)
{
    ControllerHarness harness;
    TestBook book;
    test::writeSampleBook(book, harness);
    harness.openBook(book.folder());
    harness.controller().command(cmd::kExit);
    EXPECT_EQ(harness.lastBookFile(), book.folder());

    harness.restart();
    harness.controller().command(cmd::kLastBook);
    EXPECT_TRUE(harness.controller().playback().bookOpen);
    EXPECT_EQ(harness.controller().state().bookInfo.title, "Beispiel");
}

TEST(BookSession, LastWithoutALastBookFileDoesNothingMore)
{
    ControllerHarness harness;
    harness.controller().command(cmd::kLastBook);
    EXPECT_FALSE(harness.controller().playback().bookOpen);
    EXPECT_FALSE(harness.controller().menu().isGrayed(cmd::kLastBook));
    EXPECT_TRUE(harness.messageBoxes.shown.empty());
}

TEST(BookSession, ABookThatCannotBeReadIsReportedAndLeavesNoBook)
{
    ControllerHarness harness;
    test::TempDir empty;
    harness.openBook(empty.folder());
    EXPECT_FALSE(harness.controller().playback().bookOpen);
    ASSERT_EQ(harness.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(harness.messageBoxes.shown[0].text, "Die ncc.html konnte nicht geöffnet werden!");
    EXPECT_EQ(harness.messageBoxes.shown[0].caption, "Lesefehler - ncc.html");
    EXPECT_EQ(harness.messageBoxes.shown[0].icon, MessageBoxes::Icon::kError);
    ASSERT_EQ(harness.dialogs.readings.size(), 1u);
    EXPECT_EQ(harness.dialogs.readings[0].caption, "Buch öffnen...");
    EXPECT_EQ(harness.dialogs.readings[0].groupText, "Buch wird geöffnet. Bitte warten...");

    harness.controller().command(cmd::kEnglish);
    harness.openBook(empty.folder());
    EXPECT_EQ(harness.messageBoxes.shown.back().text, "Could not open ncc.html!");
    EXPECT_EQ(harness.messageBoxes.shown.back().caption, "Read error - ncc.html");
}

TEST(BookSession, TheMenusFollowWhatTheBookHas)
{
    ControllerHarness harness;
    TestBook book;
    test::writeSampleBook(book, harness);
    harness.openBook(book.folder());
    const MenuModel& menu = harness.controller().menu();
    EXPECT_FALSE(menu.isGrayedAt(menu.barMenuOf(cmd::kPauseContinue)));
    EXPECT_FALSE(menu.isGrayed(cmd::kPauseContinue));
    EXPECT_FALSE(menu.isGrayedAt(menu.popupOf(cmd::kSkipFootnotes)));  // a footnote to skip
    EXPECT_FALSE(menu.isGrayed(cmd::kSkipFootnotes));
    EXPECT_TRUE(menu.isGrayed(cmd::kSkipSidebars));
    EXPECT_TRUE(menu.isGrayedAt(menu.popupOf(cmd::kGroupNext)));  // no groups
    EXPECT_FALSE(menu.isGrayed(cmd::kSearchHeadings));  // three headings
    EXPECT_FALSE(menu.isGrayed(cmd::kSearchBook));      // text documents
    EXPECT_FALSE(menu.isGrayed(cmd::kSearchText));      // the heading's document is a text
    EXPECT_FALSE(menu.isGrayed(cmd::kPhraseForward));
    EXPECT_TRUE(menu.isGrayed(cmd::kChangeVolume));
    EXPECT_FALSE(harness.groupList.isEnabled());
}

TEST(BookSession, GroupsFillTheGroupList)
{
    ControllerHarness harness;
    TestBook book;
    book.writeNcc(TestBook::Ncc()
                      .heading(1, "Eins", "a.smil#p1")
                      .group("Erste Gruppe", "a.smil#p1")
                      .group("Zweite Gruppe", "a.smil#p2"));
    book.writeSmil("a.smil", TestBook::Smil()
                                 .par("p1", "ncc.html#h1", {{"a.mp3", "0.000", "1.000"}})
                                 .par("p2", "ncc.html#h1", {{"a.mp3", "1.000", "2.000"}}));
    harness.player.addFile(book.folder() + "a.mp3", 2.0);
    harness.openBook(book.folder());
    EXPECT_TRUE(harness.groupList.isEnabled());
    EXPECT_EQ(harness.groupList.lines(), (std::vector<std::string>{"Erste Gruppe", "Zweite Gruppe"}));
    EXPECT_FALSE(harness.controller().menu().isGrayed(cmd::kGroupNext));
    EXPECT_TRUE(harness.controller().menu().isGrayed(cmd::kSearchHeadings));  // a single heading
    EXPECT_TRUE(harness.controller().menu().isGrayed(cmd::kSearchBook));      // the text is the NCC
}

TEST(BookSession, AHeadingWithoutPhrasesStopsTheSoundAndSelectsTheFirstHeadingRow)
{
    ControllerHarness harness;
    TestBook book;
    book.writeNcc(TestBook::Ncc()
                      .heading(1, "Eins", "a.smil#p1")
                      .heading(1, "Fehlt", "missing.smil#p1")
                      .heading(1, "Drei", "c.smil#p1"));
    book.writeSmil("a.smil", TestBook::Smil().par("p1", "t.html#x", {{"a.mp3", "0.000", "1.000"}}));
    book.writeSmil("c.smil", TestBook::Smil().par("p3", "t.html#y", {{"a.mp3", "1.000", "2.000"}}));
    harness.player.addFile(book.folder() + "a.mp3", 2.0);
    harness.openBook(book.folder());
    harness.controller().tables().tree.select(2);
    EXPECT_EQ(harness.controller().tables().headings.selectionMark(), 2);

    harness.controller().tables().tree.select(1);
    EXPECT_EQ(harness.player.url(), "");
    EXPECT_EQ(harness.controller().tables().headings.selectionMark(), 0);
    EXPECT_EQ(harness.controller().tables().headings.text(1, col::heading::kZeit), "");
}

TEST(BookSession, TheBookChangeCommandIsOfferedOnlyAtTheMarkedPhrase)
{
    ControllerHarness harness;
    TestBook book;
    book.writeNcc(TestBook::Ncc()
                      .heading(1, "Eins", "a.smil#p1")
                      .bodyLine("<h1 id=\"h2\"><a href=\"b.smil#p3\" rel=\"next\">Weiter</a></h1>"));
    book.writeSmil("a.smil", TestBook::Smil()
                                 .par("p1", "t.html#x1", {{"a.mp3", "0.000", "1.000"}})
                                 .par("p2", "t.html#x2", {{"a.mp3", "1.000", "2.000"}}));
    book.writeSmil("b.smil", TestBook::Smil()
                                 .par("p3", "t.html#x3", {{"b.mp3", "0.000", "1.000"}})
                                 .par("p4", "t.html#x4", {{"b.mp3", "1.000", "2.000"}}));
    harness.player.addFile(book.folder() + "a.mp3", 2.0);
    harness.player.addFile(book.folder() + "b.mp3", 2.0);
    harness.openBook(book.folder());
    ASSERT_EQ(harness.controller().tables().phrases.text(2, col::phrase::kSkip), "change");
    harness.controller().command(cmd::kAutoPlayback);

    harness.controller().tables().tree.select(1);
    EXPECT_FALSE(harness.controller().menu().isGrayed(cmd::kChangeVolume));
    EXPECT_FALSE(harness.controller().settings().autoPlay);  // the listener must choose the next volume
    EXPECT_FALSE(harness.controller().menu().isChecked(cmd::kAutoPlayback));  // the check goes with the flag
    harness.controller().command(cmd::kPhraseForward);
    EXPECT_TRUE(harness.controller().menu().isGrayed(cmd::kChangeVolume));
}

TEST(BookSession, TheCommandLineBookOpensAsOpenWouldFromAFolderOrItsNcc)
{
    ControllerHarness harness;
    TestBook book;
    test::writeSampleBook(book, harness);
    harness.controller().openAtStart(book.folder() + "ncc.html");
    EXPECT_TRUE(harness.controller().playback().bookOpen);
    EXPECT_EQ(harness.controller().playback().bookFolder, book.folder());
    harness.controller().openAtStart(book.dir().path().string());
    EXPECT_TRUE(harness.controller().playback().bookOpen);
    EXPECT_EQ(harness.controller().playback().bookFolder, book.folder());
    EXPECT_EQ(harness.lastBookFile(), book.folder());
}

TEST(BookSession, ATitleCueLastsThePhraseOrTenSecondsAtMost)
{
    ControllerHarness harness;
    TestBook book;
    book.writeNcc(TestBook::Ncc().heading(1, "Eins", "a.smil#p1"));
    book.writeSmil("a.smil", TestBook::Smil().par("p1", "t.html#x", {{"a.mp3", "0.000", "12.500"}}));
    harness.player.addFile(book.folder() + "a.mp3", 20.0);
    harness.openBook(book.folder());
    ASSERT_EQ(harness.titleCue.played.size(), 1u);
    EXPECT_EQ(harness.titleCue.played[0].second, 10000);
}

}  // namespace
}  // namespace korvin
