// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/bookmarkfile.h"

#include <gtest/gtest.h>

#include "library/recordfile.h"
#include "support/tempdir.h"

namespace korvin {
namespace {

BookInfo book(const std::string& title)
{
    return BookInfo{"2001-01-01", "id", title, "3", "1:00:00", ""};
}

BookmarkRecord mark(const std::string& titel, const std::string& row)
{
    return BookmarkRecord{titel, "1.500000", "0", row};
}

class BookmarkFileTest : public ::testing::Test {
protected:
    // (book title, bookmark title) of every record in file order.
    std::vector<std::pair<std::string, std::string>> contents() const
    {
        RecordFile file(m_dir.folder() + "MResume.dl", BookmarkFile::kFieldCount, m_scrambler);
        file.load();
        std::vector<std::pair<std::string, std::string>> out;
        for (std::size_t r = 0; r < file.recordCount(); ++r)
            out.emplace_back(file.field(r, 2), file.field(r, 6));
        return out;
    }

    test::TempDir m_dir;
    Scrambler m_scrambler;
    BookmarkFile m_file{m_dir.folder() + "MResume.dl", m_scrambler};
};

TEST_F(BookmarkFileTest, TheOpenBooksBookmarksComeFirstAndEveryOtherRecordKeepsItsOrder)
{
    ASSERT_TRUE(m_file.save(book("A"), {mark("a1", "1"), mark("a2", "2")}));
    ASSERT_TRUE(m_file.save(book("B"), {mark("b1", "3")}));
    ASSERT_TRUE(m_file.save(book("C"), {mark("c1", "4"), mark("c1", "4")}));  // duplicates are kept
    ASSERT_TRUE(m_file.save(book("B"), {mark("b2", "5"), mark("b3", "6")}));
    using Contents = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(contents(), (Contents{{"B", "b2"}, {"B", "b3"}, {"C", "c1"}, {"C", "c1"}, {"A", "a1"}, {"A", "a2"}}));
    EXPECT_EQ(m_file.load(book("A")), (std::vector<BookmarkRecord>{mark("a1", "1"), mark("a2", "2")}));

    // A book left without bookmarks loses its records; nobody else does.
    ASSERT_TRUE(m_file.save(book("C"), {}));
    EXPECT_EQ(contents(), (Contents{{"B", "b2"}, {"B", "b3"}, {"A", "a1"}, {"A", "a2"}}));
    EXPECT_TRUE(m_file.load(book("C")).empty());
}

}  // namespace
}  // namespace korvin
