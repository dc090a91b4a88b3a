// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/desktoppart.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/tempdir.h"

namespace korvin {
namespace {

using test::TempDir;

TEST(DesktopPart, IsLookedForInThePackagesLibraryFolderThenBesideTheProgram)
{
    struct Case {
        const char* programFolder;
        const char* relative;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"/usr/bin", "../lib/korvin", {"/usr/bin/../lib/korvin/korvin-desktop.so", "/usr/bin/korvin-desktop.so"}},
        {"/opt/k/bin/", "../lib/korvin/", {"/opt/k/bin/../lib/korvin/korvin-desktop.so", "/opt/k/bin/korvin-desktop.so"}},
        {"/", "lib", {"/lib/korvin-desktop.so", "/korvin-desktop.so"}},
        {"/build", "", {"/build/korvin-desktop.so"}},
        {"", "../lib/korvin", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.programFolder);
        EXPECT_EQ(DesktopPart::candidates(c.programFolder, c.relative), c.expected);
    }
}

TEST(DesktopPart, TheProgramsFolderIsThatOfTheRunningExecutable)
{
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(DesktopPart::programFolder(nullptr), executable.parent_path().string());
    EXPECT_EQ(DesktopPart::programFolder("bare-name"), executable.parent_path().string());
}

TEST(DesktopPart, TheFirstPlaceThatHoldsItIsLoadedAndItsEntryRuns)
{
    TempDir folder;
    const std::string missing = folder.folder() + "nothing/korvin-desktop.so";
    char first[] = "korvin";
    char second[] = "--home=abc";
    char* argv[] = {first, second, nullptr};

    const DesktopPart part({missing, KORVIN_TEST_PART});
    ASSERT_NE(part.entry(), nullptr) << part.error();
    EXPECT_EQ(part.error(), "");
    EXPECT_EQ(part.entry()(2, argv), 210);
}

TEST(DesktopPart, SaysWhyItCouldNotBeLoaded)
{
    TempDir folder;
    const std::string missing = folder.folder() + "missing.so";
    const std::string text = folder.write("text.so", "not a library").string();
    struct Case {
        const char* name;
        std::vector<std::string> candidates;
        std::vector<std::string> named;  // in the error
        std::vector<std::string> notNamed;
    };
    const Case cases[] = {
        {"no place", {}, {"unknown"}, {}},
        {"nowhere", {missing, missing + "2"}, {missing, missing + "2"}, {}},
        // A broken part is reported, not passed over for one further down.
        {"not a library", {text, KORVIN_TEST_PART}, {text}, {KORVIN_TEST_PART}},
        {"no entry", {KORVIN_TEST_PART_WITHOUT_ENTRY, KORVIN_TEST_PART}, {"korvin_desktop_main"}, {KORVIN_TEST_PART}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DesktopPart part(c.candidates);
        EXPECT_EQ(part.entry(), nullptr);
        for (const std::string& named : c.named)
            EXPECT_NE(part.error().find(named), std::string::npos) << part.error();
        for (const std::string& notNamed : c.notNamed)
            EXPECT_EQ(part.error().find(notNamed), std::string::npos) << part.error();
    }
}

}  // namespace
}  // namespace korvin
