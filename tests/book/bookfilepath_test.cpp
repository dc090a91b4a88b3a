// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/bookfilepath.h"

#include <gtest/gtest.h>

#include "support/tempdir.h"

namespace korvin {
namespace {

using test::TempDir;

TEST(BookFilePath, TakesTheExactNameWhenItExists)
{
    TempDir dir;
    dir.write("ncc.html", "x");
    dir.write("NCC.HTML", "y");
    EXPECT_EQ(findBookFile(dir.folder(), "ncc.html"), dir.folder() + "ncc.html");
}

TEST(BookFilePath, FindsANameWrittenInAnotherLetterCase)
{
    TempDir dir;
    dir.write("NCC.HTML", "x");
    dir.write("Speechgen0001.MP3", "x");
    EXPECT_EQ(findBookFile(dir.folder(), "ncc.html"), dir.folder() + "NCC.HTML");
    EXPECT_EQ(findBookFile(dir.folder(), "speechgen0001.mp3"), dir.folder() + "Speechgen0001.MP3");
}

TEST(BookFilePath, FindsEveryFolderOfARelativeName)
{
    TempDir dir;
    dir.write("Audio/Teil 1/Kapitel.MP3", "x");
    EXPECT_EQ(findBookFile(dir.folder(), "audio/teil 1/kapitel.mp3"), dir.folder() + "Audio/Teil 1/Kapitel.MP3");
    EXPECT_EQ(findBookFile(dir.folder(), "./AUDIO/../audio/Teil 1/kapitel.mp3"),
              dir.folder() + "./Audio/../Audio/Teil 1/Kapitel.MP3");
}

TEST(BookFilePath, FoldsTheLatin1CapitalsOfUtf8)
{
    TempDir dir;
    dir.write("ÜBER.smil", "x");
    EXPECT_EQ(findBookFile(dir.folder(), "über.smil"), dir.folder() + "ÜBER.smil");
}

TEST(BookFilePath, TakesTheFirstOfSeveralMatchesInByteOrder)
{
    TempDir dir;
    dir.write("Ncc.Html", "x");
    dir.write("NCC.html", "x");
    EXPECT_EQ(findBookFile(dir.folder(), "ncc.html"), dir.folder() + "NCC.html");
}

TEST(BookFilePath, LeavesANameWithoutMatchAsWritten)
{
    TempDir dir;
    dir.write("other.smil", "x");
    EXPECT_EQ(findBookFile(dir.folder(), "missing.smil"), dir.folder() + "missing.smil");
    EXPECT_EQ(findBookFile(dir.folder(), "no/such/file"), dir.folder() + "no/such/file");
    EXPECT_EQ(findBookFile(dir.folder() + "absent/", "a.smil"), dir.folder() + "absent/a.smil");
}

}  // namespace
}  // namespace korvin
