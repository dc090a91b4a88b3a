// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/commandline.h"

#include <gtest/gtest.h>

namespace korvin {
namespace {

TEST(CommandLine, NothingGivenStartsTheWindowWithoutABook)
{
    const CommandLine line = parseCommandLine({});
    EXPECT_TRUE(line.understood());
    EXPECT_FALSE(line.book);
    EXPECT_FALSE(line.home);
    EXPECT_FALSE(line.dumpBook);
}

TEST(CommandLine, HomeAndBookAreTakenInBothSpellings)
{
    CommandLine line = parseCommandLine({"--home", "/tmp/h", "books/a/ncc.html"});
    EXPECT_TRUE(line.understood());
    EXPECT_EQ(line.home, "/tmp/h");
    EXPECT_EQ(line.book, "books/a/ncc.html");

    line = parseCommandLine({"books/a", "--home=rel"});
    EXPECT_EQ(line.home, "rel");
    EXPECT_EQ(line.book, "books/a");
}

TEST(CommandLine, DumpBookTakesItsBook)
{
    CommandLine line = parseCommandLine({"--dump-book", "b"});
    EXPECT_TRUE(line.understood());
    EXPECT_EQ(line.dumpBook, "b");
    line = parseCommandLine({"--home", "h", "--dump-book=b"});
    EXPECT_EQ(line.dumpBook, "b");
}

TEST(CommandLine, MistakesAreReportedWithTheArgumentConcerned)
{
    using Mistake = CommandLine::Mistake;
    struct Case {
        std::vector<std::string> arguments;
        Mistake mistake;
        const char* mistaken;
    };
    const Case cases[] = {
        {{"--home"}, Mistake::kNoValue, "--home"},
        {{"--home="}, Mistake::kEmptyHome, "--home"},
        {{"--dump-book"}, Mistake::kNoValue, "--dump-book"},
        {{"--frobnicate"}, Mistake::kUnknownOption, "--frobnicate"},
        {{"-x", "book"}, Mistake::kUnknownOption, "-x"},
        {{"a", "b"}, Mistake::kSecondBook, "b"},
        {{"--dump-book", "a", "b"}, Mistake::kDumpWithBook, "b"},
        {{"book", "-platform"}, Mistake::kNoValue, "-platform"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.front());
        const CommandLine line = parseCommandLine(c.arguments);
        EXPECT_EQ(line.mistake, c.mistake);
        EXPECT_EQ(line.mistaken, c.mistaken);
    }
    const StringTable strings = StringTable::builtIn();
    const CommandLine unknown = parseCommandLine({"--frobnicate"});
    EXPECT_EQ(mistakeText(unknown, strings, 0), "unbekannte Angabe --frobnicate");
    EXPECT_EQ(mistakeText(unknown, strings, 200), "unknown option --frobnicate");
}

TEST(CommandLine, QtsOwnOptionsAreLeftForQtAndChooseTheDisplay)
{
    const CommandLine line =
        parseCommandLine({"-platform", "offscreen", "--style", "Fusion", "-reverse", "--", "-style"});
    ASSERT_TRUE(line.understood());
    EXPECT_EQ(line.qtOptions, (std::vector<std::string>{"-platform", "offscreen", "--style", "Fusion", "-reverse"}));
    EXPECT_EQ(line.book, "-style") << "after --, a book";

    const CommandLine plain = parseCommandLine({});
    EXPECT_TRUE(displayMissing(plain, nullptr, nullptr, nullptr));
    EXPECT_TRUE(displayMissing(plain, "", "", ""));
    EXPECT_FALSE(displayMissing(plain, nullptr, ":0", nullptr));
    EXPECT_FALSE(displayMissing(plain, nullptr, nullptr, "wayland-0"));
    EXPECT_FALSE(displayMissing(plain, "offscreen", nullptr, nullptr));
    EXPECT_FALSE(displayMissing(parseCommandLine({"--platform", "offscreen"}), nullptr, nullptr, nullptr));
}

TEST(CommandLine, ABookThatLooksLikeAnOptionFollowsTheDoubleDash)
{
    const CommandLine line = parseCommandLine({"--", "--odd-folder"});
    EXPECT_TRUE(line.understood());
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
