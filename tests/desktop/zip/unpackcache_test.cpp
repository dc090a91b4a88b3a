// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/zip/unpackcache.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>

#include "support/tempdir.h"

namespace korvin {
namespace {

namespace fs = std::filesystem;

TEST(UnpackCache, KeepsTheFoldersOfRunningProgramsAndRemovesWhatEndedProgramsLeft)
{
    test::TempDir disk;
    const fs::path root = disk.path() / "cache";
    std::optional<UnpackCache> running(std::in_place, root.string());
    const std::string runningFolder = running->folder();
    ASSERT_FALSE(runningFolder.empty());
    disk.write("cache/" + fs::path(runningFolder).parent_path().filename().string() + "/0/Buch/a.mp3", "a");
    // Left by a program that crashed: its lock is held by nobody, or it has none.
    disk.write("cache/123-4/.lock", "");
    disk.write("cache/123-4/0/Buch/a.mp3", "a");
    disk.write("cache/124-5/0/a.mp3", "a");
    // Not a program's folder: a file and a link are left alone, and nothing is followed.
    disk.write("outside/keep.mp3", "keep");
    disk.write("cache/note.txt", "");
    fs::create_directory_symlink(disk.path() / "outside", root / "link");

    std::optional<UnpackCache> next(std::in_place, root.string());
    EXPECT_TRUE(fs::exists(runningFolder + "0/Buch/a.mp3"));
    EXPECT_FALSE(fs::exists(root / "123-4"));
    EXPECT_FALSE(fs::exists(root / "124-5"));
    EXPECT_TRUE(fs::exists(root / "note.txt"));
    EXPECT_EQ(disk.read("outside/keep.mp3"), "keep");

    const std::string first = next->nextFolder();
    const std::string second = next->nextFolder();
    EXPECT_NE(first, second);
    EXPECT_EQ(first.rfind(next->folder(), 0), 0u);
    EXPECT_EQ(first.back(), '/');
    EXPECT_EQ(fs::status(next->folder()).permissions() & fs::perms::all, fs::perms::owner_all);

    const std::string nextFolder = next->folder();
    next.reset();
    EXPECT_FALSE(fs::exists(nextFolder));
    running.reset();
    EXPECT_FALSE(fs::exists(runningFolder));
    EXPECT_EQ(disk.read("outside/keep.mp3"), "keep");
}

TEST(UnpackCache, WithoutAWritableRootItNamesFoldersWhereNothingCanBeMade)
{
    test::TempDir disk;
    disk.write("file", "not a folder");
    UnpackCache cache(disk.folder() + "file/cache");
    EXPECT_EQ(cache.folder(), "");
    const std::string folder = cache.nextFolder();
    std::error_code error;
    EXPECT_FALSE(fs::create_directories(folder, error));
}

}  // namespace
}  // namespace korvin
