#include "desktop/window/commandline.h"

#include <gtest/gtest.h>

namespace korvin {
namespace {

TEST(CommandLine, NothingGivenStartsTheWindowWithoutABook)
{
    const CommandLine line = parseCommandLine({});
    EXPECT_TRUE(line.error.empty());
    EXPECT_FALSE(line.book);
    EXPECT_FALSE(line.home);
    EXPECT_FALSE(line.dumpBook);
}

TEST(CommandLine, HomeAndBookAreTakenInBothSpellings)
{
    CommandLine line = parseCommandLine({"--home", "/tmp/h", "books/a/ncc.html"});
    EXPECT_TRUE(line.error.empty());
    EXPECT_EQ(line.home, "/tmp/h");
    EXPECT_EQ(line.book, "books/a/ncc.html");

    line = parseCommandLine({"books/a", "--home=rel"});
    EXPECT_EQ(line.home, "rel");
    EXPECT_EQ(line.book, "books/a");
}

TEST(CommandLine, DumpBookTakesItsBook)
{
    CommandLine line = parseCommandLine({"--dump-book", "b"});
    EXPECT_TRUE(line.error.empty());
    EXPECT_EQ(line.dumpBook, "b");
    line = parseCommandLine({"--home", "h", "--dump-book=b"});
    EXPECT_EQ(line.dumpBook, "b");
}

TEST(CommandLine, MistakesAreReported)
{
    EXPECT_FALSE(parseCommandLine({"--home"}).error.empty());
    EXPECT_FALSE(parseCommandLine({"--home="}).error.empty());
    EXPECT_FALSE(parseCommandLine({"--dump-book"}).error.empty());
    EXPECT_FALSE(parseCommandLine({"--frobnicate"}).error.empty());
    EXPECT_FALSE(parseCommandLine({"a", "b"}).error.empty());
    EXPECT_FALSE(parseCommandLine({"--dump-book", "a", "b"}).error.empty());
}

TEST(CommandLine, ABookThatLooksLikeAnOptionFollowsTheDoubleDash)
{
    const CommandLine line = parseCommandLine({"--", "--odd-folder"});
    EXPECT_TRUE(line.error.empty());
    EXPECT_EQ(line.book, "--odd-folder");
}

}  // namespace
}  // namespace korvin
