// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/booklocator.h"

#include <gtest/gtest.h>

#include "support/fakearchives.h"
#include "support/tempdir.h"

namespace korvin {
namespace {

using Fault = BookLocator::Fault;

TEST(BookLocator, TakesTheBookOfAFolderAPackageFileOrAZipFile)
{
    test::TempDir disk;
    disk.write("d3/Book.OPF", "opf");
    disk.write("two/a.opf", "a");
    disk.write("two/b.opf", "b");
    disk.write("both/ncc.html", "ncc");
    disk.write("both/book.opf", "opf");
    disk.write("Buch.zip", "zip");
    const std::string d = disk.folder();
    test::FakeBookArchives archives(d + "cache");
    archives.addFiles(d + "Buch.zip", {{"Buch/book.opf", "opf"}, {"Buch/a.smil", "smil"}});
    const BookLocator locator(archives);

    const struct {
        std::string place;
        std::string folder;
        BookStart start;
        bool zipped;
    } cases[] = {
        {d + "d3/", d + "d3/", {BookFormat::kDaisy3, "Book.OPF"}, false},
        {d + "d3", d + "d3/", {BookFormat::kDaisy3, "Book.OPF"}, false},
        {d + "two/b.opf", d + "two/", {BookFormat::kDaisy3, "b.opf"}, false},
        {d + "two/", d + "two/", {BookFormat::kNone, ""}, false},
        {d + "both/", d + "both/", {BookFormat::kDaisy202, "ncc.html"}, false},
        {d + "both/book.opf", d + "both/", {BookFormat::kDaisy3, "book.opf"}, false},
        {d + "Buch.zip", archives.unpackFolder(0) + "Buch/", {BookFormat::kDaisy3, "book.opf"}, true},
    };
    for (const auto& c : cases) {
        auto located = locator.locate(c.place);
        ASSERT_TRUE(std::holds_alternative<BookLocator::Located>(located)) << c.place;
        const auto& book = std::get<BookLocator::Located>(located);
        EXPECT_EQ(book.folder, c.folder) << c.place;
        EXPECT_EQ(book.start.format, c.start.format) << c.place;
        EXPECT_EQ(book.start.fileName, c.start.fileName) << c.place;
        EXPECT_EQ(book.zipped != nullptr, c.zipped) << c.place;
    }
}

TEST(BookLocator, SaysWhyAZipFileIsNotTaken)
{
    test::TempDir disk;
    const std::string d = disk.folder();
    test::FakeBookArchives archives(d + "cache");
    archives.refuse(d + "bad.zip", BookArchives::Fault::kUnreadable);
    archives.refuse(d + "links.zip", BookArchives::Fault::kUnsafeMember);
    archives.refuse(d + "bomb.zip", BookArchives::Fault::kTooLarge);
    archives.addFiles(d + "none.zip", {{"readme.txt", "no book"}});
    archives.addFiles(d + "two.zip", {{"a/ncc.html", ""}, {"b/ncc.html", ""}});
    const struct {
        const char* name;
        Fault fault;
    } cases[] = {
        {"bad.zip", Fault::kZipUnreadable}, {"links.zip", Fault::kZipUnsafe}, {"bomb.zip", Fault::kZipTooLarge},
        {"none.zip", Fault::kZipNoBook},    {"two.zip", Fault::kZipSeveralBooks},
    };
    for (const auto& c : cases) {
        disk.write(c.name, "");
        const auto located = BookLocator(archives).locate(d + c.name);
        ASSERT_TRUE(std::holds_alternative<Fault>(located)) << c.name;
        EXPECT_EQ(std::get<Fault>(located), c.fault) << c.name;
    }
    // A folder named like a zip file is a folder.
    disk.write("folder.zip/ncc.html", "");
    EXPECT_TRUE(std::holds_alternative<BookLocator::Located>(BookLocator(archives).locate(d + "folder.zip")));
}

TEST(BookLocator, NamesThePlaceOfAChosenFile)
{
    test::TempDir disk;
    disk.write("a/ncc.html", "");
    disk.write("b/book.opf", "");
    disk.write("c/ncc.html", "");
    disk.write("c/book.opf", "");
    disk.write("z/Buch.Zip", "");
    const std::string d = disk.folder();
    const struct {
        std::string path;
        std::string place;
    } cases[] = {
        {d + "a/ncc.html", d + "a/"},   {d + "a", d + "a/"},
        {d + "b/book.opf", d + "b/"},   {d + "c/book.opf", d + "c/book.opf"},  // its folder reads as DAISY 2.02
        {d + "z/Buch.Zip", d + "z/Buch.Zip"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BookLocator::placeOfPath(c.path), c.place) << c.path;
}

}  // namespace
}  // namespace korvin
