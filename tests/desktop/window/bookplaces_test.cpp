// SPDX-License-Identifier: GPL-3.0-or-later
// The listener's place and bookmark across a restart, on the real window
// (offscreen), the real libmpv player (ao=null) and a book with real audio.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <cmath>
#include <string>

#include "app/maincontroller.h"
#include "desktop/window/desktopprogram.h"
#include "desktop/window/desktopwindow.h"
#include "desktop/window/qtlistbox.h"
#include "desktop/window/windowfixture.h"
#include "support/audiofiles.h"
#include "support/tempdir.h"
#include "support/testbook.h"
#include "ui/commandids.h"
#include "support/sourcepaths.h"

namespace korvin {
namespace {

using test::runUntil;

void writeBook(test::TestBook& book)
{
    book.writeNcc(test::TestBook::Ncc()
                      .meta("dc:title", "Stellen")
                      .meta("dc:identifier", "places-1")
                      .meta("ncc:charset", "utf-8")
                      .heading(1, "Anfang", "a.smil#p1")
                      .heading(1, "Mitte", "b.smil#p3"));
    book.writeSmil("a.smil", test::TestBook::Smil()
                                 .par("p1", "text.html#t1", {{"a.wav", "0.000", "0.600"}})
                                 .par("p2", "text.html#t2", {{"a.wav", "0.600", "1.200"}}));
    book.writeSmil("b.smil", test::TestBook::Smil()
                                 .par("p3", "text.html#t3", {{"b.wav", "0.000", "0.800"}})
                                 .par("p4", "text.html#t4", {{"b.wav", "0.800", "1.600"}})
                                 .par("p5", "text.html#t5", {{"b.wav", "1.600", "2.400"}})
                                 .par("p6", "text.html#t6", {{"b.wav", "2.400", "6.000"}}));
    book.writeHtml("text.html",
                   {{"t1", "Eins"}, {"t2", "Zwei"}, {"t3", "Drei"}, {"t4", "Vier"}, {"t5", "Fünf"}, {"t6", "Sechs"}});
    test::writeToneWav(book.dir().path() / "a.wav", 1.3);
    test::writeToneWav(book.dir().path() / "b.wav", 6.2);
}

TEST(BookPlaces, TheHeadingPhrasePositionAndBookmarkSurviveARestart)
{
    test::TempDir home;
    test::TestBook book;
    writeBook(book);
    const Folders folders{home.path().string(), korvin::test::sourceDir() + "/resources"};
    int heading = -1;
    int row = -1;
    double left = 0;
    double marked = 0;
    {
        DesktopProgram program(folders);
        program.start();
        program.openAtStart(book.folder());
        MainController& controller = program.controller();
        ASSERT_TRUE(controller.playback().bookOpen);
        controller.tables().tree.select(1);
        // Into a later phrase of the heading, then a bookmark, then on a little.
        ASSERT_TRUE(runUntil([&] { return controller.tables().phrases.selectedRow() >= 4; }, 10000));
        ASSERT_TRUE(runUntil([&] { return program.player().position() >= 1.9; }, 5000));
        controller.command(cmd::kBookmarkSet);
        marked = controller.tables().bookmarks.real(0, col::bookmark::kZeit);
        ASSERT_TRUE(runUntil([&] { return program.player().position() >= 2.8; }, 5000));
        heading = controller.tables().tree.selectedItem();
        row = controller.tables().phrases.selectedRow();
        ASSERT_EQ(row, 5);
        controller.command(cmd::kExit);
        left = program.player().position();
        EXPECT_EQ(program.player().playState(), MediaPlayer::kPaused);
    }

    DesktopProgram program(folders);
    program.start();
    MainController& controller = program.controller();
    controller.command(cmd::kLastBook);
    ASSERT_TRUE(controller.playback().bookOpen);
    EXPECT_EQ(controller.tables().tree.selectedItem(), heading);
    EXPECT_EQ(controller.tables().phrases.selectedRow(), row);
    EXPECT_NEAR(program.player().position(), left, 0.1);
    // What is heard: once the seek has landed, playing on from there.
    ASSERT_TRUE(runUntil([&] { return program.player().playState() == MediaPlayer::kPlaying; }, 3000));
    runUntil([] { return false; }, 150);  // playing on for a moment
    EXPECT_GE(program.player().position(), left - 0.1);
    EXPECT_LE(program.player().position(), left + 0.6);
    EXPECT_EQ(controller.tables().phrases.selectedRow(), row);

    QtListBox& bookmarks = program.window().bookmarkList();
    ASSERT_EQ(bookmarks.count(), 1);
    EXPECT_EQ(bookmarks.text(0), "Mitte");
    EXPECT_TRUE(bookmarks.isEnabled());
    controller.command(cmd::kBookmarkNext);
    EXPECT_EQ(controller.tables().phrases.selectedRow(), 4);
    EXPECT_NEAR(program.player().position(), marked, 0.1);
    EXPECT_EQ(bookmarks.currentIndex(), 0);
}

}  // namespace
}  // namespace korvin
