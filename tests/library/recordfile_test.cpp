#include "library/recordfile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/tempdir.h"

namespace korvin {
namespace {

class RecordFileTest : public ::testing::Test {
protected:
    std::string path() const { return m_dir.folder() + "R.dl"; }
    // Lines written scrambled, each followed by `lineEnd`.
    void writeLines(const std::vector<std::string>& lines, const std::string& lineEnd = "\n") const
    {
        std::string bytes;
        for (const std::string& line : lines)
            bytes += m_scrambler.scramble(line) + lineEnd;
        m_dir.write("R.dl", bytes);
    }
    std::vector<std::vector<std::string>> records(std::size_t fieldCount) const
    {
        RecordFile file(path(), fieldCount, m_scrambler);
        file.load();
        std::vector<std::vector<std::string>> out(file.recordCount());
        for (std::size_t r = 0; r < file.recordCount(); ++r)
            for (std::size_t f = 0; f < fieldCount; ++f)
                out[r].push_back(file.field(r, f));
        return out;
    }

    test::TempDir m_dir;
    Scrambler m_scrambler;
};

TEST_F(RecordFileTest, RecordsAreReadWhileTheirFirstLineCanBeReadAndCutRecordsReadEmpty)
{
    using Records = std::vector<std::vector<std::string>>;
    struct Case {
        std::vector<std::string> lines;
        std::string lineEnd;
        bool lastLineEnds;
        Records expected;
    };
    const std::vector<Case> cases = {
        {{}, "\n", true, {}},
        {{"a", "b", "c"}, "\n", true, {{"a", "b", "c"}}},
        {{"a", "b", "c", "d"}, "\r\n", false, {{"a", "b", "c"}, {"d", "", ""}}},
        {{"a", "b", "c", ""}, "\n", true, {{"a", "b", "c"}, {"", "", ""}}},  // an empty first line reads
        {{"", "", "", ""}, "\n", true, {{"", "", ""}, {"", "", ""}}},
        {{"a", "b"}, "\n", false, {{"a", "b", ""}}},
    };
    for (const Case& c : cases) {
        std::string bytes;
        for (std::size_t i = 0; i < c.lines.size(); ++i)
            bytes += m_scrambler.scramble(c.lines[i]) + (i + 1 < c.lines.size() || c.lastLineEnds ? c.lineEnd : "");
        m_dir.write("R.dl", bytes);
        EXPECT_EQ(records(3), c.expected) << c.lines.size() << " lines";
    }
}

TEST_F(RecordFileTest, AMissingFileIsAnEmptyListAndIsCreatedWhenWritten)
{
    RecordFile file(path(), 2, m_scrambler);
    EXPECT_EQ(file.load(), FileBytes::Status::kMissing);
    EXPECT_EQ(file.recordCount(), 0u);
    RecordFile::Writer next(file);
    next.append({"eins", "zwei", "ignored"});
    next.append({"drei"});
    ASSERT_TRUE(next.commit());
    EXPECT_EQ(records(2), (std::vector<std::vector<std::string>>{{"eins", "zwei"}, {"drei", ""}}));
}

TEST_F(RecordFileTest, AFileThatCannotBeReadIsNeverReplaced)
{
    std::filesystem::create_directory(path());
    RecordFile folder(path(), 2, m_scrambler);
    EXPECT_EQ(folder.load(), FileBytes::Status::kUnreadable);
    EXPECT_EQ(folder.recordCount(), 0u);
    RecordFile::Writer next(folder);
    next.append({"x", "y"});
    EXPECT_FALSE(next.commit());
    EXPECT_TRUE(std::filesystem::is_directory(path()));
}

TEST_F(RecordFileTest, CopiedRecordsAndKeysMatchWhatUnscramblingGives)
{
    // Bytes that are not UTF-8, characters outside the tables, a CR inside a line.
    const std::vector<std::string> odd = {"\xC3(\xFF\xFE", "Ärger ß \\ \"x\"", "a\rb", "", "  leer"};
    writeLines(odd, "\r\n");
    RecordFile file(path(), 5, m_scrambler);
    ASSERT_EQ(file.load(), FileBytes::Status::kRead);
    ASSERT_EQ(file.recordCount(), 1u);
    EXPECT_TRUE(file.startsWith(0, file.makeKey({odd[0], odd[1]})));
    EXPECT_FALSE(file.startsWith(0, file.makeKey({odd[0], "Ärger"})));
    EXPECT_EQ(file.field(0, 2), "a\rb");
    RecordFile::Writer next(file);
    next.copy(0);
    ASSERT_TRUE(next.commit());
    EXPECT_EQ(records(5), (std::vector<std::vector<std::string>>{odd}));
}

TEST_F(RecordFileTest, ALineEndInsideAFieldCannotShiftTheRecordsAfterIt)
{
    RecordFile file(path(), 2, m_scrambler);
    file.load();
    RecordFile::Writer next(file);
    next.append({"zwei\nZeilen", "ende\r"});
    next.append({"b", "c"});
    ASSERT_TRUE(next.commit());
    file.load();
    ASSERT_EQ(file.recordCount(), 2u);
    EXPECT_TRUE(file.startsWith(0, file.makeKey({"zwei\nZeilen", "ende\r"})));
    EXPECT_EQ(file.field(1, 0), "b");
}

}  // namespace
}  // namespace korvin
