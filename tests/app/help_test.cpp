// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "support/controllerharness.h"
#include "support/samplebook.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

using test::ControllerHarness;
using test::TestBook;

std::set<std::string> stateFiles(const ControllerHarness& harness)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(harness.home()))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(Exit, WithoutABookWritesOnlyTheSettings)
{
    ControllerHarness harness;
    harness.controller().command(cmd::kExit);
    // The settings, and the options kept beside them.
    EXPECT_EQ(stateFiles(harness), (std::set<std::string>{"Optionen.dl", "Settings.dl"}));
    EXPECT_TRUE(harness.windowView.ended);
}

TEST(Help, OpensTheManualOfTheInterfaceLanguageWithItsTitleCue)
{
    for (const auto& [language, folder] : {std::pair{cmd::kGerman, "/documents/Manuals/DE/DAISY/"},
                                           std::pair{cmd::kEnglish, "/documents/Manuals/EN/DAISY/"}}) {
        ControllerHarness harness;
        harness.controller().command(language);
        harness.controller().helpRequest();
        EXPECT_TRUE(harness.controller().playback().bookOpen) << folder;
        EXPECT_EQ(harness.controller().playback().bookFolder, harness.dataFolder() + folder);
        EXPECT_EQ(harness.titleCue.played.size(), 1u);
        EXPECT_FALSE(harness.controller().menu().isGrayed(cmd::kLastBook));
        EXPECT_TRUE(harness.messageBoxes.shown.empty());
    }
}

TEST(Help, KeepsTheBookBeforeAsTheLastBookThroughExitAndKeepsItsPlace)
{
    ControllerHarness harness;
    TestBook book;
    TestBook other;
    test::writeSampleBook(book, harness);
    test::writeSampleBook(other, harness);
    harness.openBook(book.folder());
    harness.controller().tables().tree.select(2);
    harness.openBook(other.folder());  // records the first book
    harness.controller().helpRequest();
    EXPECT_EQ(harness.controller().state().noLastBook, true);
    harness.controller().tables().tree.select(1);  // a place in the manual
    harness.controller().command(cmd::kExit);
    EXPECT_EQ(harness.lastBookFile(), book.folder());

    harness.restart();
    harness.controller().helpRequest();  // the manual comes back where it was left
    EXPECT_EQ(harness.controller().tables().headings.selectionMark(), 1);
    harness.controller().command(cmd::kLastBook);
    EXPECT_EQ(harness.controller().playback().bookFolder, book.folder());
    EXPECT_EQ(harness.controller().tables().headings.selectionMark(), 2);
}

}  // namespace
}  // namespace korvin
