// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/archivedbook.h"

#include <gtest/gtest.h>

namespace korvin {
namespace {

using Found = ArchivedBook::Found;

TEST(ArchivedBook, FindsTheOneBookAtTheRootOrInAFolder)
{
    const struct {
        const char* what;
        std::vector<std::string> names;
        Found found;
        std::string folder;
        BookStart start;
    } cases[] = {
        {"at the root", {"ncc.html", "a.smil", "a.mp3"}, Found::kBook, "", {BookFormat::kDaisy202, "ncc.html"}},
        {"in a folder, any case", {"Buch/NCC.HTML", "Buch/a.smil"}, Found::kBook, "Buch/", {BookFormat::kDaisy202, "ncc.html"}},
        {"deeper down", {"x/y/Buch/book.OPF", "x/y/Buch/book.ncx", "x/readme.txt"}, Found::kBook, "x/y/Buch/",
         {BookFormat::kDaisy3, "book.OPF"}},
        {"ncc.html before a package", {"b/book.opf", "b/ncc.html"}, Found::kBook, "b/", {BookFormat::kDaisy202, "ncc.html"}},
        {"what macOS adds is no book", {"__MACOSX/b/._book.opf", "b/._book.opf", "b/book.opf"}, Found::kBook, "b/",
         {BookFormat::kDaisy3, "book.opf"}},
        {"two packages in one folder are no book", {"b/one.opf", "b/two.opf"}, Found::kNone, "", {}},
        {"nothing of a book", {"readme.txt", "ncc.html.bak", "opf"}, Found::kNone, "", {}},
        {"an empty archive", {}, Found::kNone, "", {}},
        {"two books", {"a/ncc.html", "b/book.opf"}, Found::kSeveral, "", {}},
        {"a book inside a book", {"a/ncc.html", "a/extra/ncc.html"}, Found::kSeveral, "", {}},
    };
    for (const auto& c : cases) {
        const ArchivedBook book = findArchivedBook(c.names);
        EXPECT_EQ(book.found, c.found) << c.what;
        EXPECT_EQ(book.folder, c.folder) << c.what;
        EXPECT_EQ(book.start.format, c.start.format) << c.what;
        EXPECT_EQ(book.start.fileName, c.start.fileName) << c.what;
    }
}

TEST(ArchivedBook, KnowsAZipFileByItsName)
{
    for (const char* name : {"a.zip", "/x/Book.ZIP", "b/.Zip.zIp"})
        EXPECT_TRUE(isZipFileName(name)) << name;
    for (const char* name : {".zip", "a.zip/", "a.zipx", "azip", ""})
        EXPECT_FALSE(isZipFileName(name)) << name;
}

}  // namespace
}  // namespace korvin
