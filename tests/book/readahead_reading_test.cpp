// SPDX-License-Identifier: GPL-3.0-or-later
// The readers of both formats read their SMIL files ahead on a second thread:
// what they make of a book's files, and when a reading ends early, is what
// a reading in one thread makes of them.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "book/daisy3reader.h"
#include "book/nccreader.h"
#include "support/testbook.h"

namespace korvin {
namespace {

using test::TestBook;

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

std::vector<std::string> column(const BookTable& table, int column)
{
    std::vector<std::string> texts;
    for (int row = 0; row < table.rowCount(); ++row)
        texts.push_back(table.text(row, column));
    return texts;
}

// a.smil has two pars, "folder.smil" is a folder (refused like a missing
// file), "missing.smil" is not there; an NCC names a.smil twice (a spine
// names a file once).
const std::vector<std::string> kSmilNames = {"a.smil", "folder.smil", "missing.smil", "b.smil", "a.smil"};
const std::vector<std::string> kSpine = {"a.smil", "folder.smil", "missing.smil", "b.smil"};

void writeSmilFiles(TestBook& book, bool daisy3)
{
    if (daisy3) {
        book.writeSmil2("a.smil", TestBook::Smil2().par("a1", "t.xml#1").par("a2", "t.xml#2"));
        book.writeSmil2("b.smil", TestBook::Smil2().par("b1", "t.xml#3"));
    } else {
        book.writeSmil("a.smil", TestBook::Smil().par("a1", "t.html#1").par("a2", "t.html#2"));
        book.writeSmil("b.smil", TestBook::Smil().par("b1", "t.html#3"));
    }
    std::filesystem::create_directory(book.folder() + "folder.smil");
}

TEST(ReadAheadReading, Daisy202SkipsWhatCannotBeReadAndReadsAFileNamedTwiceTwice)
{
    TestBook book;
    writeSmilFiles(book, false);
    TestBook::Ncc ncc;
    for (std::size_t i = 0; i < kSmilNames.size(); ++i)
        ncc.heading(1, "H" + std::to_string(i), kSmilNames[i] + "#h");
    book.writeNcc(ncc);
    BookTables tables;
    NccReader reader(tables, book.folder());
    NoProgress progress;
    ASSERT_EQ(reader.read(progress), NccReader::kRead);
    EXPECT_EQ(column(tables.headings, col::heading::kSmil), kSmilNames);
    EXPECT_EQ(column(tables.phrases, col::phrase::kParId), (std::vector<std::string>{"a1", "a2", "b1", "a1", "a2"}));
    EXPECT_EQ(column(tables.phrases, col::phrase::kTreeId), (std::vector<std::string>{"0", "0", "3", "4", "4"}));
}

TEST(ReadAheadReading, Daisy3SkipsWhatCannotBeRead)
{
    TestBook book;
    writeSmilFiles(book, true);
    TestBook::Package package;
    for (const std::string& name : kSpine)
        package.smil(name);
    book.writePackage(package);
    book.writeNcx(TestBook::Ncx().navPoint(1, "Eins", "a.smil#a1").navPoint(1, "Zwei", "b.smil#b1"));
    BookTables tables;
    Daisy3Reader reader(tables, book.folder(), "book.opf", "von");
    NoProgress progress;
    ASSERT_EQ(reader.read(progress), Daisy3Reader::kRead);
    EXPECT_EQ(column(tables.phrases, col::phrase::kParId), (std::vector<std::string>{"a1", "a2", "b1"}));
    EXPECT_EQ(column(tables.headings, col::heading::kTitel), (std::vector<std::string>{"Eins", "Zwei"}));
}

// A reading that ends early, at any of its files, ends as it did in one
// thread: the error reaches the caller and the tables hold what was read
// up to there.
TEST(ReadAheadReading, AReadingThatStopsEarlyStopsTheReadingAhead)
{
    for (const int stopAt : {1, 2, 3, 5}) {
        SCOPED_TRACE(stopAt);
        TestBook book;
        writeSmilFiles(book, false);
        TestBook::Ncc ncc;
        for (std::size_t i = 0; i < kSmilNames.size(); ++i)
            ncc.heading(1, "H" + std::to_string(i), kSmilNames[i] + "#h");
        book.writeNcc(ncc);
        BookTables tables;
        NccReader reader(tables, book.folder());
        StoppingProgress progress(stopAt);
        EXPECT_THROW(reader.read(progress), std::runtime_error);
        // The status of link n comes before heading n is read.
        EXPECT_EQ(tables.headings.rowCount(), stopAt - 1);
    }
    for (const int stopAt : {1, 2, 4}) {
        SCOPED_TRACE(stopAt);
        TestBook book;
        writeSmilFiles(book, true);
        TestBook::Package package;
        for (const std::string& name : kSpine)
            package.smil(name);
        book.writePackage(package);
        book.writeNcx(TestBook::Ncx().navPoint(1, "Eins", "a.smil#a1"));
        BookTables tables;
        Daisy3Reader reader(tables, book.folder(), "book.opf", "von");
        StoppingProgress progress(stopAt);
        EXPECT_THROW(reader.read(progress), std::runtime_error);
    }
}

}  // namespace
}  // namespace korvin
