// SPDX-License-Identifier: GPL-3.0-or-later
// The DAISY 2.02 reader reads its SMIL files ahead on a second thread: what it
// makes of a book's files, and how a reading ends early, is what a reading on
// one thread makes of them.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "book/bookreader.h"
#include "support/testbook.h"

namespace korvin {
namespace {

using test::TestBook;
using Names = std::vector<std::string>;

// Progress that ends the reading by throwing when it reaches `stopAt`.
class StoppingProgress final : public ReadProgress {
public:
    explicit StoppingProgress(int stopAt)
        : m_stopAt(stopAt)
    {
    }
    void setRange(int, int) override {}
    void setPosition(int position) override
    {
        if (position == m_stopAt)
            throw std::runtime_error("stopped");
    }
    void setStatus(const std::string&) override {}

private:
    int m_stopAt;
};

// A book with a heading for each of `smils`: a.smil has two pars, b.smil one,
// "folder.smil" is a folder (refused like a missing file), "missing.smil" is
// not there.
BookStart writeBook(TestBook& book, const Names& smils)
{
    std::filesystem::create_directory(book.folder() + "folder.smil");
    book.writeSmil("a.smil", TestBook::Smil().par("a1", "t.html#1").par("a2", "t.html#2"));
    book.writeSmil("b.smil", TestBook::Smil().par("b1", "t.html#3"));
    TestBook::Ncc ncc;
    for (const std::string& name : smils)
        ncc.heading(1, "H", name + "#h");
    book.writeNcc(ncc);
    return {BookFormat::kDaisy202, "ncc.html"};
}

TEST(ReadAheadReading, SkipsWhatCannotBeReadAndEndsEarlyAsBefore)
{
    const struct {
        Names smils;  // an NCC may name a file twice
        Names parIds;
        std::vector<int> stops;  // progress positions: a link reached
    } cases[] = {
        {{"a.smil", "folder.smil", "missing.smil", "b.smil", "a.smil"}, {"a1", "a2", "b1", "a1", "a2"}, {1, 2, 5}},
        {{"b.smil"}, {"b1"}, {1}},
    };
    for (const auto& c : cases) {
        TestBook book;
        const BookStart start = writeBook(book, c.smils);
        BookTables tables;
        BookReader reader(tables, book.folder(), start, NccReader::Texts());
        NoProgress progress;
        ASSERT_EQ(reader.read(progress), BookReader::kRead);
        Names parIds;
        for (int row = 0; row < tables.phrases.rowCount(); ++row)
            parIds.push_back(tables.phrases.text(row, col::phrase::kParId));
        EXPECT_EQ(parIds, c.parIds);
        // The error reaches the caller; an NCC's link n is reported before its heading is read.
        for (const int stop : c.stops) {
            SCOPED_TRACE(stop);
            StoppingProgress stopping(stop);
            EXPECT_THROW(reader.read(stopping), std::runtime_error);
            EXPECT_EQ(tables.headings.rowCount(), stop - 1);
        }
    }
}

}  // namespace
}  // namespace korvin
