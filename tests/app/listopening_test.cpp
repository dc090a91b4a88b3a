// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/listopening.h"

#include <gtest/gtest.h>

#include "library/drives.h"
#include "support/controllerharness.h"
#include "support/samplebook.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

using test::ControllerHarness;
using test::TestBook;

// The listener makes the list and takes the book on line 1.
std::optional<std::string> makeListAndTakeTheFirst(BookList& list)
{
    list.makeList();
    return list.folder(list.currentLine());
}

TEST(ListOpening, OpensTheChosenBookWithoutTitleCueAndRecordsTheBookBefore)
{
    ControllerHarness harness;
    TestBook before;
    test::writeSampleBook(before, harness);
    harness.openBook(before.folder());
    const std::size_t cues = harness.titleCue.played.size();

    TestBook chosen;
    test::writeSampleBook(chosen, harness);
    harness.dialogs.drive = chosen.dir().path().string();
    harness.dialogs.chooseFromList = makeListAndTakeTheFirst;
    harness.controller().command(cmd::kOpenFromList);

    ASSERT_EQ(harness.dialogs.driveDialogs.size(), 1u);
    EXPECT_EQ(harness.dialogs.driveDialogs[0].caption, "Bitte ein Laufwerk auswählen...");
    EXPECT_EQ(harness.dialogs.driveDialogs[0].driveColumn, "LW");
    EXPECT_EQ(harness.dialogs.driveDialogs[0].nameColumn, "Bezeichnung");
    const std::vector<Drive>& drives = harness.dialogs.driveLists[0];
    ASSERT_FALSE(drives.empty());
    if (!homeFolder().empty()) {
        EXPECT_EQ(drives[0], (Drive{homeFolder(), "Persönlicher Ordner"}));
    }
    EXPECT_EQ(harness.dialogs.bookSearchDialogs[0].caption, "DAISY suchen...");
    EXPECT_EQ(harness.messageBoxes.shown.back().text, "Ein Buch gefunden.");

    EXPECT_TRUE(harness.controller().playback().bookOpen);
    EXPECT_EQ(harness.controller().playback().bookFolder, chosen.folder());
    EXPECT_EQ(harness.titleCue.played.size(), cues);
    EXPECT_EQ(harness.lastBookFile(), before.folder());
    EXPECT_FALSE(harness.controller().menu().isGrayed(cmd::kLastBook));
}

TEST(ListOpening, CancellingLeavesNoBookAndTheManualIsRecordedWhenLeft)
{
    for (const bool cancelDrive : {true, false}) {
        ControllerHarness harness;
        harness.controller().command(cmd::kEnglish);
        harness.controller().helpRequest();
        const std::string manual = harness.controller().playback().bookFolder;
        harness.dialogs.drive = cancelDrive ? std::nullopt : std::optional<std::string>(harness.home());
        harness.controller().command(cmd::kOpenFromList);
        EXPECT_FALSE(harness.controller().playback().bookOpen);
        EXPECT_EQ(harness.lastBookFile(), manual);
        EXPECT_EQ(harness.dialogs.bookSearchDialogs.size(), cancelDrive ? 0u : 1u);
        if (!cancelDrive) {
            EXPECT_EQ(harness.dialogs.bookSearchDialogs[0].caption, "Searching for DAISY...");
        }
    }
}

// The book chosen from the list after the manual is the listener's own: Open
// records it as the last book when it closes it, even when Open is cancelled.
TEST(ListOpening, AfterHelpTheBookChosenFromTheListIsRecordedWhenOpenLeavesIt)
{
    ControllerHarness harness;
    TestBook chosen;
    test::writeSampleBook(chosen, harness);
    harness.controller().helpRequest();
    harness.dialogs.drive = chosen.dir().path().string();
    harness.dialogs.chooseFromList = makeListAndTakeTheFirst;
    harness.controller().command(cmd::kOpenFromList);
    ASSERT_EQ(harness.controller().playback().bookFolder, chosen.folder());

    harness.dialogs.nccFile.reset();
    harness.controller().command(cmd::kOpen);
    EXPECT_EQ(harness.lastBookFile(), chosen.folder());
}

}  // namespace
}  // namespace korvin
