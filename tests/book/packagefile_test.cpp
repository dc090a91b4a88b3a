// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/packagefile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvin {
namespace {

TEST(PackageFile, ListsTheStyleSheetsOfTheManifestRelativeToTheBookFolder)
{
    const struct {
        const char* name;
        const char* path;
        std::string items;
        std::vector<std::string> sheets;
    } cases[] = {
        {"in the order of the manifest", "book.opf",
         "<item id=\"b\" href=\"b.css\" media-type=\"text/css\"/><item id=\"x\" href=\"x.xml\" "
         "media-type=\"application/x-dtbook+xml\"/><item id=\"a\" href=\"css/a.css\" media-type=\" TEXT/CSS \"/>",
         {"b.css", "css/a.css"}},
        {"beside a package file in a folder", "sub/book.opf",
         "<item id=\"a\" href=\"a.css\" media-type=\"text/css\"/>", {"sub/a.css"}},
        {"none without a file or of another type", "book.opf",
         "<item id=\"a\" href=\"\" media-type=\"text/css\"/><item id=\"b\" href=\"b.css\" media-type=\"text/plain\"/>",
         {}},
    };
    for (const auto& c : cases) {
        const std::string opf = "<?xml version=\"1.0\"?><package xmlns=\"http://openebook.org/namespaces/oeb-package/"
                                "1.0/\"><manifest>"
                                + c.items + "</manifest><spine/></package>";
        EXPECT_EQ(readPackageFile(opf, c.path).styleSheets, c.sheets) << c.name;
    }
}

}  // namespace
}  // namespace korvin
