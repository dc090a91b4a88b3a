#include "program/commandline.h"

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

TEST(CommandLine, TheEnvironmentsLanguageFollowsTheLocaleVariablesInTheirOrder)
{
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        int offset;
    };
    const Case cases[] = {
        {nullptr, nullptr, "de_DE.UTF-8", 0},   {nullptr, nullptr, "de", 0},
        {nullptr, nullptr, "en_GB.UTF-8", 200}, {nullptr, nullptr, nullptr, 200},
        {nullptr, nullptr, "C", 200},           {"", "", "de_AT.UTF-8", 0},  // empty means unset
        {"en_US.UTF-8", nullptr, "de_DE", 200}, {nullptr, "de_CH.UTF-8", "en_US", 0},
        {"de_DE.UTF-8", "en_US", "en_US", 0},   {nullptr, nullptr, "dk_DK", 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lcAll ? c.lcAll : "-") + " " + (c.lcMessages ? c.lcMessages : "-") + " " +
                     (c.lang ? c.lang : "-"));
        EXPECT_EQ(environmentLanguageOffset(c.lcAll, c.lcMessages, c.lang), c.offset);
    }
}

TEST(CommandLine, HelpAndVersionAreTakenAndSpeakBothLanguages)
{
    EXPECT_TRUE(parseCommandLine({"--version"}).version);
    EXPECT_TRUE(parseCommandLine({"--home", "h", "--help"}).help);
    const StringTable strings = StringTable::builtIn();
    EXPECT_EQ(usageText(strings, 0).rfind("Aufruf: korvin [--home ORDNER] [BUCH]\n", 0), 0u);
    EXPECT_EQ(usageText(strings, 200).rfind("Usage: korvin [--home DIR] [BOOK]\n", 0), 0u);
    for (const int language : {0, 200}) {
        EXPECT_NE(usageText(strings, language).find("--version"), std::string::npos);
        EXPECT_EQ(versionText(strings, language).rfind("Korvin 2.0.1 ", 0), 0u);
        EXPECT_EQ(versionText(strings, language).back(), '\n');
    }
}

}  // namespace
}  // namespace korvin
