// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/settings.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "library/statefile.h"
#include "support/tempdir.h"

namespace korvin {
namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    std::string path() const { return m_dir.folder() + "Settings.dl"; }
    void writeLines(const std::vector<std::string>& lines, bool finalNewline = false) const
    {
        std::string contents;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            contents += m_scrambler.scramble(lines[i]);
            if (i + 1 < lines.size() || finalNewline)
                contents += "\r\n";
        }
        m_dir.write("Settings.dl", contents);
    }

    test::TempDir m_dir;
    Scrambler m_scrambler;
};

TEST_F(SettingsFileTest, SaveThenLoadGivesBackEveryValue)
{
    Settings settings;
    settings.volume = 73;
    settings.rate = 1.4;
    settings.skipFootnotes = true;
    settings.skipPageNumbers = true;
    settings.autoPlay = true;
    settings.style.textColour = true;
    settings.style.colour = "#ff8000";
    settings.languageOffset = 200;
    const SettingsFile file(path(), m_scrambler);
    ASSERT_TRUE(file.write(settings));

    const auto read = file.read();
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, settings);
    // Both colour lines carry the colour, whichever style is chosen.
    const auto lines = SettingsFile::format(settings);
    EXPECT_EQ(lines[8], "#ff8000");
    EXPECT_EQ(lines[12], "#ff8000");
}

TEST_F(SettingsFileTest, FileHasFourteenLinesAndEndsRightAfterTheLanguage)
{
    Settings settings;
    settings.rate = 1.0;
    ASSERT_TRUE(SettingsFile(path(), m_scrambler).write(settings));
    const std::string contents = m_dir.read("Settings.dl");
    EXPECT_EQ(std::count(contents.begin(), contents.end(), '\n'), 13);
    EXPECT_NE(contents.back(), '\n');
    const auto raw = readTextLines(path());
    ASSERT_TRUE(raw);
    EXPECT_EQ(m_scrambler.unscramble((*raw)[1]), "1.000000");
    EXPECT_EQ(m_scrambler.unscramble((*raw)[13]), "0");
}

TEST_F(SettingsFileTest, FlagsAreReadAsIntegers)
{
    writeLines({"50", "1.0", "01", " 1", "1abc", "2", "", "0", "", "+1", "-1", "1", "", "0"});
    const auto settings = SettingsFile(path(), m_scrambler).read();
    ASSERT_TRUE(settings);
    EXPECT_TRUE(settings->skipFootnotes);
    EXPECT_TRUE(settings->skipSidebars);
    EXPECT_TRUE(settings->skipProdnotes);
    EXPECT_FALSE(settings->skipPageNumbers);
    EXPECT_FALSE(settings->autoPlay);
    EXPECT_FALSE(settings->style.background);
    EXPECT_TRUE(settings->style.italic);
    EXPECT_FALSE(settings->style.bold);
    EXPECT_TRUE(settings->style.textColour);
}

TEST_F(SettingsFileTest, AColourIsTakenOnlyWithItsStylesFlag)
{
    const struct {
        const char* background;
        const char* textColour;
        const char* colour;
    } cases[] = {{"1", "0", "#111111"}, {"0", "1", "#222222"}, {"1", "1", "#222222"}, {"0", "0", ""}};
    for (const auto& c : cases) {
        writeLines({"50", "1.0", "0", "0", "0", "0", "0", c.background, "#111111", "0", "0", c.textColour, "#222222"});
        const auto settings = SettingsFile(path(), m_scrambler).read();
        ASSERT_TRUE(settings);
        EXPECT_EQ(settings->style.colour, c.colour) << c.background << c.textColour;
    }
}

TEST_F(SettingsFileTest, AShortFileReadsItsMissingLinesAsEmptyWithSoundVolumeAndRate)
{
    writeLines({"", "abc", "1"});
    const auto settings = SettingsFile(path(), m_scrambler).read();
    ASSERT_TRUE(settings);
    EXPECT_TRUE(settings->skipFootnotes);
    EXPECT_FALSE(settings->autoPlay);
    EXPECT_EQ(settings->languageOffset, 0);
    // An empty volume and an unreadable rate would play nothing at all.
    EXPECT_EQ(settings->volume, Settings::kDefaultVolume);
    EXPECT_DOUBLE_EQ(settings->rate, Settings::kDefaultRate);
}

TEST_F(SettingsFileTest, OutOfRangeValuesAreBroughtBackIntoRange)
{
    const struct {
        const char* volume;
        const char* rate;
        int volumeRead;
        double rateRead;
    } cases[] = {{"250", "9.5", 100, 1.0}, {"-3", "0.2", 0, 1.0}, {"0", "0.6", 0, 0.6}};  // a written 0 is a choice
    for (const auto& c : cases) {
        writeLines({c.volume, c.rate});
        const auto settings = SettingsFile(path(), m_scrambler).read();
        ASSERT_TRUE(settings);
        EXPECT_EQ(settings->volume, c.volumeRead) << c.volume;
        EXPECT_DOUBLE_EQ(settings->rate, c.rateRead) << c.rate;
    }
}

TEST_F(SettingsFileTest, AMissingOrUnreadableFileReadsAsNothing)
{
    EXPECT_FALSE(SettingsFile(path(), m_scrambler).read());
    std::filesystem::create_directory(path());
    EXPECT_FALSE(SettingsFile(path(), m_scrambler).read());
}

TEST(StateFile, AtomicWriteReplacesTheFileAndLeavesNoTemporaryBehind)
{
    test::TempDir dir;
    const std::string path = dir.folder() + "Letztes.dl";
    ASSERT_TRUE(writeFileAtomically(path, "old"));
    ASSERT_TRUE(writeFileAtomically(path, "new\nline"));
    EXPECT_EQ(dir.read("Letztes.dl"), "new\nline");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(StateFile, AFailedWriteKeepsTheOldFile)
{
    test::TempDir dir;
    const std::string path = dir.folder() + "Settings.dl";
    ASSERT_TRUE(writeFileAtomically(path, "old"));
    EXPECT_FALSE(writeFileAtomically(dir.folder() + "missing/Settings.dl", "x"));
    // A folder where the file should go cannot be replaced by a file.
    std::filesystem::create_directory(dir.path() / "taken");
    EXPECT_FALSE(writeFileAtomically(dir.folder() + "taken", "x"));
    EXPECT_EQ(dir.read("Settings.dl"), "old");
}

// Synced after the rename, a crash could leave the new name on a file whose
// bytes never reached the disk.
TEST(StateFile, SyncsTheTemporaryFileBeforeTheRenameAndTheFolderAfterIt)
{
    test::TempDir dir;
    const std::string path = dir.folder() + "AResume.dl";
    std::vector<std::string> calls;
    DurableCalls seam;
    seam.sync = [&](int fd) {
        struct stat info { };
        calls.push_back(::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode) ? "sync folder" : "sync file");
        return ::fsync(fd);
    };
    seam.rename = [&](const char* from, const char* to) {
        calls.push_back(std::filesystem::exists(to) ? "rename over" : "rename");
        return std::rename(from, to);
    };
    ASSERT_TRUE(writeFileAtomically(path, "old", seam));
    ASSERT_TRUE(writeFileAtomically(path, "new", seam));
    EXPECT_EQ(calls, (std::vector<std::string>{"sync file", "rename", "sync folder", "sync file", "rename over",
                                               "sync folder"}));
    // A sync that fails keeps the old file.
    seam.sync = [](int) { return -1; };
    EXPECT_FALSE(writeFileAtomically(path, "lost", seam));
    EXPECT_EQ(dir.read("AResume.dl"), "new");
}

TEST(StateFile, ReadsLinesWithoutTheirLineEnds)
{
    test::TempDir dir;
    dir.write("a.dl", "one\r\ntwo\n\nlast");
    const auto lines = readTextLines(dir.folder() + "a.dl");
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, (std::vector<std::string>{"one", "two", "", "last"}));
    EXPECT_FALSE(readTextLines(dir.folder() + "none.dl"));
}

}  // namespace
}  // namespace korvin
