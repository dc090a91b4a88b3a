// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/bookformat.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "support/tempdir.h"

namespace korvin {
namespace {

TEST(BookFormat, FindsTheBookAFolderHolds)
{
    const struct {
        const char* what;
        std::vector<std::string> files;  // a name ending in "/" is a folder
        BookFormat format;
        const char* fileName;
    } cases[] = {
        {"an NCC", {"ncc.html", "a.smil"}, BookFormat::kDaisy202, "ncc.html"},
        {"an NCC in capitals", {"NCC.HTML"}, BookFormat::kDaisy202, "ncc.html"},
        {"a package", {"speechgen.opf", "speechgen.ncx"}, BookFormat::kDaisy3, "speechgen.opf"},
        {"a package in capitals", {"Book.OPF"}, BookFormat::kDaisy3, "Book.OPF"},
        {"an NCC and a package", {"ncc.html", "book.opf"}, BookFormat::kDaisy202, "ncc.html"},
        {"two packages", {"a.opf", "b.opf"}, BookFormat::kNone, ""},
        {"a folder named like a package", {"x.opf/"}, BookFormat::kNone, ""},
        {"a name that only ends in opf", {"opf", "xopf"}, BookFormat::kNone, ""},
        {"nothing of a book", {"readme.txt"}, BookFormat::kNone, ""},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        for (const std::string& file : c.files) {
            if (file.back() == '/')
                std::filesystem::create_directory(dir.path() / file.substr(0, file.size() - 1));
            else
                dir.write(file, "x");
        }
        const BookStart start = findBookStart(dir.folder());
        EXPECT_EQ(start.format, c.format) << c.what;
        EXPECT_EQ(start.fileName, c.fileName) << c.what;
    }
}

}  // namespace
}  // namespace korvin
