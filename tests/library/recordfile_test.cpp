// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/recordfile.h"

#include <gtest/gtest.h>

#include <random>

#include <sys/resource.h>

#include "library/bookmarkfile.h"
#include "library/resumefile.h"
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

long maxResidentKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// 50 MB of lines of noise (bytes that are not UTF-8, line ends of both kinds,
// empty lines), whole records of 9 and of 10 lines, with `record` put in
// after the first 9,000 lines.
std::string noise(const std::string& record)
{
    std::minstd_rand random(7);
    std::string block;
    for (int line = 0; line < 900; ++line) {
        const unsigned draw = random();
        for (unsigned i = 0, length = draw % 48; i < length; ++i) {
            const char c = static_cast<char>((draw >> (i % 16)) + i * 37);
            block += c == '\n' ? 'x' : c;
        }
        block += draw % 5 == 0 ? "\r\n" : "\n";
    }
    std::string bytes;
    bytes.reserve((50u << 20) + block.size() + record.size());
    while (bytes.size() < (50u << 20)) {
        bytes += block;
        if (bytes.size() == 10 * block.size())
            bytes += record;
    }
    return bytes;
}

TEST_F(RecordFileTest, FiftyMegabytesOfNoiseAreReadInBoundedMemoryAndKeptRecordForRecord)
{
    const BookInfo book{"2001-01-01", "id", "Buch", "3", "1:00:00", ""};
    std::string record;
    for (const std::string& field : bookRecordKey(book))
        record += m_scrambler.scramble(field) + "\n";
    const std::size_t before = 9000 / ResumeFile::kFieldCount;
    m_dir.write("AResume.dl", noise(record + "1\n2.5\n3\n"));

    RecordFile old(m_dir.folder() + "AResume.dl", ResumeFile::kFieldCount, m_scrambler);
    ASSERT_EQ(old.load(), FileBytes::Status::kRead);
    ASSERT_TRUE(old.startsWith(before, old.makeKey(bookRecordKey(book))));
    const long memoryBefore = maxResidentKilobytes();
    const ResumeFile resume(m_dir.folder() + "AResume.dl", m_scrambler);
    ASSERT_TRUE(resume.find(book));
    ASSERT_TRUE(resume.save(book, {"4", "5.000", "6"}));
    // The file and the file written, each once, and the records' places.
    EXPECT_LT(maxResidentKilobytes() - memoryBefore, 4 * 50 * 1024);
    RecordFile now(m_dir.folder() + "AResume.dl", ResumeFile::kFieldCount, m_scrambler);
    ASSERT_EQ(now.load(), FileBytes::Status::kRead);
    // Every other record with a first line, in its order; the book's own where it goes.
    const RecordFile::Key key = now.makeKey(bookRecordKey(book));
    std::size_t next = 0;
    for (std::size_t r = 0; r < old.recordCount(); ++r) {
        if (old.firstFieldEmpty(r) || r == before)
            continue;
        while (next < now.recordCount() && now.startsWith(next, key))
            ++next;
        ASSERT_LT(next, now.recordCount());
        // Unscrambling all of them would take longer than the saving itself.
        for (std::size_t f = 0; f < ResumeFile::kFieldCount && r % 61 == 0; ++f)
            ASSERT_EQ(now.field(next, f), old.field(r, f)) << "record " << r;
        ++next;
    }
    while (next < now.recordCount() && now.startsWith(next, key))
        ++next;
    EXPECT_EQ(next, now.recordCount());
    EXPECT_EQ(resume.find(book), (ResumeRecord{"4", "5.000", "6"}));

    m_dir.write("MResume.dl", noise(record + "T\n1.0\n0\n0\n"));
    const BookmarkFile bookmarks(m_dir.folder() + "MResume.dl", m_scrambler);
    ASSERT_EQ(bookmarks.load(book).size(), 1u);
    ASSERT_TRUE(bookmarks.save(book, {}));
    EXPECT_TRUE(bookmarks.load(book).empty());
}

}  // namespace
}  // namespace korvin
