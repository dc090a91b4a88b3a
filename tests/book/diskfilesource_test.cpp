// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/diskfilesource.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "support/tempdir.h"

namespace korvin {
namespace {

using test::TempDir;

TEST(DiskFileSource, ReadsEveryByteOfAFile)
{
    TempDir dir;
    const std::string bytes("a\0b\r\n\xFF", 6);
    dir.write("a.smil", bytes);
    EXPECT_EQ(DiskFileSource().read(dir.folder(), "a.smil"), bytes);
    dir.write("empty.smil", "");
    EXPECT_EQ(DiskFileSource().read(dir.folder(), "empty.smil"), "");
}

TEST(DiskFileSource, FindsAFileByLetterCase)
{
    TempDir dir;
    dir.write("NCC.HTML", "ncc");
    EXPECT_EQ(DiskFileSource().read(dir.folder(), "ncc.html"), "ncc");
}

TEST(DiskFileSource, OpensNoMissingFileFolderOrPipe)
{
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "folder.smil");
    ASSERT_EQ(mkfifo((dir.path() / "pipe.smil").c_str(), 0600), 0);
    const DiskFileSource files;
    EXPECT_EQ(files.read(dir.folder(), "missing.smil"), std::nullopt);
    EXPECT_EQ(files.read(dir.folder(), "folder.smil"), std::nullopt);
    EXPECT_EQ(files.read(dir.folder(), "FOLDER.SMIL"), std::nullopt);
    EXPECT_EQ(files.read(dir.folder(), "pipe.smil"), std::nullopt);  // returns at once, does not wait for a writer
    EXPECT_EQ(files.read(dir.folder(), ""), std::nullopt);            // the book folder itself
}

TEST(DiskFileSource, OpensNoNameWithANulByte)
{
    TempDir dir;
    dir.write("a.smil", "x");
    EXPECT_EQ(DiskFileSource().read(dir.folder(), std::string("a.smil\0.mp3", 11)), std::nullopt);
    EXPECT_EQ(DiskFileSource().read(dir.folder(), std::string("A.SMIL\0", 7)), std::nullopt);
}

TEST(DiskFileSource, OpensNoUnreadableFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    TempDir dir;
    const auto path = dir.write("locked.smil", "x");
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    EXPECT_EQ(DiskFileSource().read(dir.folder(), "locked.smil"), std::nullopt);
}

}  // namespace
}  // namespace korvin
