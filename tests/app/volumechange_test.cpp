// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/volumechange.h"

#include <gtest/gtest.h>

#include "support/controllerharness.h"
#include "support/testbook.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

using test::ControllerHarness;
using test::TestBook;

// Two discs of one book side by side, "disc1" and "disc2", each with two
// headings; the second heading of each ends in a link to the other volume.
struct Discs {
    test::TempDir parent;
    std::string folder(const std::string& disc) const { return parent.folder() + disc + "/"; }

    void write(ControllerHarness& harness, const std::string& disc, const std::string& setInfo)
    {
        TestBook::Ncc ncc;
        ncc.meta("dc:date", "2020-01-01")
            .meta("dc:identifier", "id-1")
            .meta("dc:title", "Langes Buch")
            .meta("ncc:tocItems", "2")
            .meta("ncc:totalTime", "0:00:04")
            .meta("ncc:setInfo", setInfo)
            .heading(1, "Eins", "a.smil#p1")
            .bodyLine("<h1 id=\"h2\"><a href=\"b.smil#p3\" rel=\"next\">Weiter</a></h1>");
        parent.write(disc + "/ncc.html", ncc.text());
        parent.write(disc + "/a.smil", TestBook::Smil().par("p1", "t.html#x1", {{"a.mp3", "0.000", "1.000"}}).text());
        parent.write(disc + "/b.smil", TestBook::Smil()
                                           .par("p3", "t.html#x3", {{"b.mp3", "0.000", "1.000"}})
                                           .par("p4", "t.html#x4", {{"b.mp3", "1.000", "2.000"}})
                                           .text());
        harness.player.addFile(folder(disc) + "a.mp3", 1.0);
        harness.player.addFile(folder(disc) + "b.mp3", 2.0);
    }
};

// Opens disc 1, plays its second heading and chooses Change with `next` as
// the file chosen (nullopt cancels).
void changeFromDiscOne(ControllerHarness& harness, Discs& discs, std::vector<std::optional<std::string>> files)
{
    harness.openBook(discs.folder("disc1"));
    harness.controller().tables().tree.select(1);
    ASSERT_FALSE(harness.controller().menu().isGrayed(cmd::kChangeVolume));
    harness.dialogs.nccFiles = std::move(files);
    harness.controller().command(cmd::kChangeVolume);
}

TEST(VolumeChange, TheNextDiscOpensWithoutAQuestionAtTheHeadingThatWasPlaying)
{
    ControllerHarness harness;
    Discs discs;
    discs.write(harness, "disc1", "1 of 2");
    discs.write(harness, "disc2", "1 OF 2");  // letter case counts
    const std::size_t cues = 1;
    changeFromDiscOne(harness, discs, {discs.folder("disc2") + "ncc.html"});
    EXPECT_TRUE(harness.messageBoxes.shown.empty());
    EXPECT_TRUE(harness.controller().playback().bookOpen);
    EXPECT_EQ(harness.controller().playback().bookFolder, discs.folder("disc2"));
    EXPECT_EQ(harness.controller().state().bookInfo.setInfo, "1 OF 2");
    EXPECT_EQ(harness.controller().tables().headings.selectionMark(), 1);
    EXPECT_EQ(harness.titleCue.played.size(), cues);
    EXPECT_EQ(harness.dialogs.fileFolders.back(), discs.parent.folder());
    EXPECT_EQ(harness.dialogs.fileTitles.back(), "Ein Buch suchen...");
    EXPECT_EQ(harness.lastBookFile(), discs.folder("disc1"));
    EXPECT_FALSE(harness.controller().menu().isGrayed(cmd::kLastBook));
}

TEST(VolumeChange, TheSameDiscAgainAsksAndEachAnswerEndsAsDescribed)
{
    using Result = MessageBoxes::Result;
    const struct {
        std::vector<Result> answers;
        std::vector<std::optional<std::string>> files;  // relative to the parent; nullopt cancels
        const char* openFolder;                         // the book open at the end
        int heading;
        std::size_t questions;
    } cases[] = {
        {{Result::kAbort}, {"disc1/ncc.html"}, "disc1", 1, 1},   // back through Last, where it was left
        {{Result::kIgnore}, {"disc1/ncc.html"}, "disc1", 1, 1},  // opened as part of the book
        {{Result::kRetry}, {"disc1/ncc.html", std::nullopt}, "disc1", 1, 1},
        // Retry starts over from the closed book: its heading is 0.
        {{Result::kRetry, Result::kIgnore}, {"disc1/ncc.html", "disc2/ncc.html"}, "disc2", 0, 2},
        {{}, {std::nullopt}, "disc1", 1, 0},  // the file choice cancelled: back through Last
    };
    for (const auto& c : cases) {
        ControllerHarness harness;
        Discs discs;
        discs.write(harness, "disc1", "1 of 2");
        discs.write(harness, "disc2", "1 of 2");
        std::vector<std::optional<std::string>> files;
        for (const auto& file : c.files)
            files.push_back(file ? std::optional(discs.parent.folder() + *file) : std::nullopt);
        harness.messageBoxes.answers = c.answers;
        changeFromDiscOne(harness, discs, files);

        ASSERT_EQ(harness.messageBoxes.shown.size(), c.questions);
        if (c.questions > 0) {
            const auto& shown = harness.messageBoxes.shown[0];
            EXPECT_EQ(shown.caption, "Wechseln...");
            EXPECT_EQ(shown.text.rfind("Der ausgewählte Titel ist nicht Bestandteil dieses Buches.\n\n", 0), 0u);
            EXPECT_EQ(shown.icon, MessageBoxes::Icon::kWarning);
            EXPECT_EQ(shown.buttons, MessageBoxes::Buttons::kAbortRetryIgnore);
            EXPECT_EQ(harness.messageBoxes.buttonTexts[0].retry, "&Wiederholen");
        }
        EXPECT_TRUE(harness.controller().playback().bookOpen);
        EXPECT_EQ(harness.controller().playback().bookFolder, discs.folder(c.openFolder));
        EXPECT_EQ(harness.controller().tables().headings.selectionMark(), c.heading) << c.openFolder;
        EXPECT_EQ(harness.lastBookFile(), discs.folder("disc1"));
    }
}

TEST(VolumeChange, TheFileChoiceStartsInTheFolderAbove)
{
    for (const auto& [folder, above] :
         {std::pair{"/media/cd/Buch/", "/media/cd/"}, std::pair{"/Buch/", "/"}, std::pair{"/", "/"}, std::pair{"", ""}})
        EXPECT_EQ(VolumeChange::folderAbove(folder), above) << folder;
}

}  // namespace
}  // namespace korvin
