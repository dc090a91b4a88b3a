// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/booklocator.h"

#include <gtest/gtest.h>

#include "support/fakearchives.h"
#include "support/tempdir.h"

namespace korvin {
namespace {

using Fault = BookLocator::Fault;

TEST(BookLocator, TakesTheBookOfAFolderAPackageFileOrAZipFileAndSaysWhyAZipFileIsNotTaken)
{
    test::TempDir disk;
    disk.write("d3/Book.OPF", "opf");
    disk.write("two/a.opf", "a");
    disk.write("two/b.opf", "b");
    disk.write("both/ncc.html", "ncc");
    disk.write("both/book.opf", "opf");
    disk.write("folder.zip/ncc.html", "");
    for (const char* zip : {"Buch.zip", "bad.zip", "links.zip", "bomb.zip", "none.zip", "two.zip"})
        disk.write(zip, "");
    const std::string d = disk.folder();
    test::FakeBookArchives archives(d + "cache");
    archives.addFiles(d + "Buch.zip", {{"Buch/book.opf", "opf"}, {"Buch/a.smil", "smil"}});
    archives.refuse(d + "bad.zip", BookArchives::Fault::kUnreadable);
    archives.refuse(d + "links.zip", BookArchives::Fault::kUnsafeMember);
    archives.refuse(d + "bomb.zip", BookArchives::Fault::kTooLarge);
    archives.addFiles(d + "none.zip", {{"readme.txt", "no book"}});
    archives.addFiles(d + "two.zip", {{"a/ncc.html", ""}, {"b/ncc.html", ""}});
    const BookLocator locator(archives);

    const struct {
        std::string place;
        std::string folder;
        BookStart start;
        bool zipped;
        std::optional<Fault> fault = std::nullopt;
    } cases[] = {
        {d + "d3/", d + "d3/", {BookFormat::kDaisy3, "Book.OPF"}, false},
        {d + "d3", d + "d3/", {BookFormat::kDaisy3, "Book.OPF"}, false},
        {d + "two/b.opf", d + "two/", {BookFormat::kDaisy3, "b.opf"}, false},
        {d + "two/", d + "two/", {BookFormat::kNone, ""}, false},
        {d + "both/", d + "both/", {BookFormat::kDaisy202, "ncc.html"}, false},
        {d + "both/book.opf", d + "both/", {BookFormat::kDaisy3, "book.opf"}, false},
        {d + "Buch.zip", archives.unpackFolder(0) + "Buch/", {BookFormat::kDaisy3, "book.opf"}, true},
        {d + "folder.zip", d + "folder.zip/", {BookFormat::kDaisy202, "ncc.html"}, false},  // a folder
        {d + "bad.zip", "", {}, false, Fault::kZipUnreadable},
        {d + "links.zip", "", {}, false, Fault::kZipUnsafe},
        {d + "bomb.zip", "", {}, false, Fault::kZipTooLarge},
        {d + "none.zip", "", {}, false, Fault::kZipNoBook},
        {d + "two.zip", "", {}, false, Fault::kZipSeveralBooks},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.place);
        auto located = locator.locate(c.place);
        if (c.fault) {
            ASSERT_TRUE(std::holds_alternative<Fault>(located));
            EXPECT_EQ(std::get<Fault>(located), *c.fault);
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<BookLocator::Located>(located));
        const auto& book = std::get<BookLocator::Located>(located);
        EXPECT_EQ(book.folder, c.folder);
        EXPECT_EQ(book.start.format, c.start.format);
        EXPECT_EQ(book.start.fileName, c.start.fileName);
        EXPECT_EQ(book.zipped != nullptr, c.zipped);
    }
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
