#include "library/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/statefile.h"
#include "support/tempdir.h"

namespace korvin {
namespace {

class OptionsFileTest : public ::testing::Test {
protected:
    std::string path() const { return m_dir.folder() + "Optionen.dl"; }
    OptionsFile file() const { return OptionsFile(path(), m_scrambler); }
    void writeLines(const std::vector<std::string>& lines, const char* lineEnd = "\n") const
    {
        std::string contents;
        for (std::size_t i = 0; i < lines.size(); ++i)
            contents += m_scrambler.scramble(lines[i]) + (i + 1 < lines.size() ? lineEnd : "");
        m_dir.write("Optionen.dl", contents);
    }

    test::TempDir m_dir;
    Scrambler m_scrambler;
};

TEST_F(OptionsFileTest, SavedOptionsReadBackAndTheFileIsTwoScrambledLines)
{
    for (const Options& options : {Options{false, false}, Options{true, false}, Options{false, true},
                                   Options{true, true}}) {
        ASSERT_TRUE(file().write(options));
        EXPECT_EQ(file().read(), options);
    }
    // The last written: both on, "1" and "1", each scrambled, no line end after the last.
    EXPECT_EQ(readFileBytes(path()).bytes, m_scrambler.scramble("1") + "\n" + m_scrambler.scramble("1"));
}

TEST_F(OptionsFileTest, AMissingOrDamagedFileTurnsEveryOptionOff)
{
    EXPECT_EQ(file().read(), Options{});  // missing
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        Options expected;
    };
    for (const Case& c : {
             Case{"both on, CR LF", {"1", "1"}, Options{true, true}},
             Case{"a line more, from a later version", {"0", "1", "1"}, Options{false, true}},
             Case{"one line", {"1"}, Options{}},
             Case{"empty", {}, Options{}},
             Case{"a value that is no flag", {"1", "2"}, Options{}},
             Case{"a flag with more after it", {"1x", "1"}, Options{}},
             Case{"a flag after a blank", {" 1", "1"}, Options{}},
             Case{"an empty line", {"1", ""}, Options{}},
         }) {
        SCOPED_TRACE(c.what);
        writeLines(c.lines, c.lines.size() == 2 && c.expected.rewindOnResume ? "\r\n" : "\n");
        EXPECT_EQ(file().read(), c.expected);
    }
    // Lines written without the scrambling read as something else.
    m_dir.write("Optionen.dl", "1\n1");
    EXPECT_EQ(file().read(), Options{});
    // A folder standing under the name is no file.
    std::filesystem::remove(path());
    std::filesystem::create_directory(path());
    EXPECT_EQ(file().read(), Options{});
    EXPECT_FALSE(file().write(Options{true, true}));
}

}  // namespace
}  // namespace korvin
