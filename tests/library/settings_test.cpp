#include "library/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <algorithm>

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
    settings.textColour = true;
    settings.colour = "#ff8000";
    settings.languageOffset = 200;
    const SettingsFile file(path(), m_scrambler);
    ASSERT_TRUE(file.write(settings));

    const auto lines = file.read();
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->volume(), 73);
    EXPECT_DOUBLE_EQ(lines->rate(), 1.4);
    EXPECT_TRUE(lines->flag(3));
    EXPECT_FALSE(lines->flag(4));
    EXPECT_FALSE(lines->flag(5));
    EXPECT_TRUE(lines->flag(6));
    EXPECT_TRUE(lines->flag(7));
    EXPECT_FALSE(lines->flag(8));
    EXPECT_TRUE(lines->flag(12));
    EXPECT_EQ(lines->line(9), "#ff8000");
    EXPECT_EQ(lines->line(13), "#ff8000");
    EXPECT_EQ(lines->language(), 200);
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
    const auto lines = SettingsFile(path(), m_scrambler).read();
    ASSERT_TRUE(lines);
    EXPECT_TRUE(lines->flag(3));
    EXPECT_TRUE(lines->flag(4));
    EXPECT_TRUE(lines->flag(5));
    EXPECT_FALSE(lines->flag(6));
    EXPECT_FALSE(lines->flag(7));
    EXPECT_TRUE(lines->flag(10));
    EXPECT_FALSE(lines->flag(11));
}

TEST_F(SettingsFileTest, AShortFileReadsItsMissingLinesAsEmptyWithSoundVolumeAndRate)
{
    writeLines({"", "abc", "1"});
    const auto lines = SettingsFile(path(), m_scrambler).read();
    ASSERT_TRUE(lines);
    EXPECT_TRUE(lines->flag(3));
    EXPECT_FALSE(lines->flag(7));
    EXPECT_EQ(lines->line(14), "");
    EXPECT_EQ(lines->language(), 0);
    // An empty volume and an unreadable rate would play nothing at all.
    EXPECT_EQ(lines->volume(), Settings::kDefaultVolume);
    EXPECT_DOUBLE_EQ(lines->rate(), Settings::kDefaultRate);
}

TEST_F(SettingsFileTest, OutOfRangeValuesAreBroughtBackIntoRange)
{
    writeLines({"250", "9.5"});
    auto lines = SettingsFile(path(), m_scrambler).read();
    EXPECT_EQ(lines->volume(), 100);
    EXPECT_DOUBLE_EQ(lines->rate(), 1.0);
    writeLines({"-3", "0.2"});
    lines = SettingsFile(path(), m_scrambler).read();
    EXPECT_EQ(lines->volume(), 0);
    EXPECT_DOUBLE_EQ(lines->rate(), 1.0);
    writeLines({"0", "0.6"});
    lines = SettingsFile(path(), m_scrambler).read();
    EXPECT_EQ(lines->volume(), 0);  // a written 0 is the listener's choice
    EXPECT_DOUBLE_EQ(lines->rate(), 0.6);
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
