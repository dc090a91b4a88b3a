// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/resumefile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "library/recordfile.h"
#include "support/tempdir.h"

namespace korvin {
namespace {

BookInfo book(const std::string& title)
{
    return BookInfo{"2001-01-01", "id-" + title, title, "3", "1:00:00", "1 of 1"};
}

class ResumeFileTest : public ::testing::Test {
protected:
    std::string path() const { return m_dir.folder() + "AResume.dl"; }
    // Titles of the records in file order, "" for an empty first line.
    std::vector<std::string> titles() const
    {
        RecordFile file(path(), ResumeFile::kFieldCount, m_scrambler);
        file.load();
        std::vector<std::string> out;
        for (std::size_t r = 0; r < file.recordCount(); ++r)
            out.push_back(file.field(r, 0).empty() ? "" : file.field(r, 2));
        return out;
    }
    void writeRecords(const std::vector<RecordFile::Fields>& records) const
    {
        RecordFile file(path(), ResumeFile::kFieldCount, m_scrambler);
        file.load();
        RecordFile::Writer next(file);
        for (const auto& fields : records)
            next.append(fields);
        ASSERT_TRUE(next.commit());
    }

    test::TempDir m_dir;
    Scrambler m_scrambler;
    ResumeFile m_file{path(), m_scrambler};
};

TEST_F(ResumeFileTest, TheFieldsStandInTheFilesOrderWithSetInfoBeforeTocItems)
{
    ASSERT_TRUE(m_file.save(book("A"), {"4", "12.345", "17"}));
    RecordFile file(path(), ResumeFile::kFieldCount, m_scrambler);
    file.load();
    ASSERT_EQ(file.recordCount(), 1u);
    std::vector<std::string> fields;
    for (std::size_t f = 0; f < ResumeFile::kFieldCount; ++f)
        fields.push_back(file.field(0, f));
    EXPECT_EQ(fields,
              (std::vector<std::string>{"2001-01-01", "id-A", "A", "1 of 1", "3", "1:00:00", "4", "12.345", "17"}));
}

TEST_F(ResumeFileTest, ABookKeepsOneRecordInItsPlaceAndANewBookIsAppended)
{
    ASSERT_TRUE(m_file.save(book("A"), {"1", "1.000", "1"}));
    ASSERT_TRUE(m_file.save(book("B"), {"2", "2.000", "2"}));
    ASSERT_TRUE(m_file.save(book("A"), {"3", "3.000", "3"}));
    ASSERT_TRUE(m_file.save(book("A"), {"4", "4.000", "4"}));
    EXPECT_EQ(titles(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(m_file.find(book("A")), (ResumeRecord{"4", "4.000", "4"}));
    EXPECT_EQ(m_file.find(book("B")), (ResumeRecord{"2", "2.000", "2"}));
    EXPECT_EQ(m_file.find(book("C")), std::nullopt);
    // Equal information is the same book, wherever its folder is.
    ASSERT_TRUE(m_file.save(book("B"), {"5", "5.000", "5"}));
    EXPECT_EQ(m_file.find(book("B")), (ResumeRecord{"5", "5.000", "5"}));
}

TEST_F(ResumeFileTest, ARecordWithAnEmptyFirstLineIsDroppedAndTheBookTakesItsPlace)
{
    RecordFile::Fields empty(ResumeFile::kFieldCount);
    RecordFile::Fields a = {"d", "i", "A", "s", "t", "z", "1", "1.000", "1"};
    writeRecords({a, empty, {"d", "i", "B", "s", "t", "z", "1", "1.000", "1"}, empty});
    ASSERT_TRUE(m_file.save(book("C"), {"0", "0.000", "0"}));
    EXPECT_EQ(titles(), (std::vector<std::string>{"A", "C", "B"}));
}

TEST_F(ResumeFileTest, AFileThatCannotBeReadIsNeitherReadNorReplaced)
{
    std::filesystem::create_directory(path());
    EXPECT_FALSE(m_file.save(book("A"), {"1", "1.000", "1"}));
    EXPECT_EQ(m_file.find(book("A")), std::nullopt);
    EXPECT_TRUE(std::filesystem::is_directory(path()));
}

}  // namespace
}  // namespace korvin
