// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/zippedbook.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/fakearchives.h"
#include "support/tempdir.h"

namespace korvin {
namespace {

struct Zipped {
    test::TempDir cache;
    test::FakeBookArchives archives{cache.path().string()};
    std::unique_ptr<ZippedBook> book;

    explicit Zipped(std::map<std::string, std::string> files)
    {
        archives.addFiles("/b.zip", std::move(files));
        BookArchives::Opened opened = archives.open("/b.zip");
        ArchivedBook where = findArchivedBook(opened.archive->fileNames());
        book = std::make_unique<ZippedBook>(std::move(opened.archive), std::move(where));
    }
};

TEST(ZippedBook, ReadsTheBooksFilesFromTheArchiveAsFromAFolder)
{
    Zipped z({{"Buch/ncc.html", "ncc"}, {"Buch/Kap1.SMIL", "smil"}, {"Buch/kap1.smil", "lower"},
              {"Buch/sub/Text.html", "text"}, {"other.txt", "outside"}});
    const std::string folder = z.book->folder();
    EXPECT_EQ(folder, z.archives.unpackFolder(0) + "Buch/");
    const struct {
        std::string folder;
        std::string name;
        std::optional<std::string> bytes;
    } cases[] = {
        {folder, "ncc.html", "ncc"},
        {folder, "kap1.smil", "lower"},                 // the exact name first
        {folder, "KAP1.smil", "smil"},                  // else the first spelling in byte order
        {folder, "SUB/text.HTML", "text"},
        {folder, "./sub/../sub/Text.html", "text"},
        {folder + "sub/", "../ncc.html", "ncc"},
        {folder, "../other.txt", "outside"},            // the archive is the book's disc
        {folder, "../../other.txt", std::nullopt},      // nothing lies above it
        {folder, "missing.smil", std::nullopt},
        {folder, "sub", std::nullopt},                  // a folder is no file
        {"/elsewhere/", "ncc.html", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(z.book->read(c.folder, c.name), c.bytes) << c.folder << c.name;
    EXPECT_TRUE(z.archives.unpacked.empty());
}

TEST(ZippedBook, UnpacksAFileWhenItIsOpenedByPathAndTheTextsAtOnce)
{
    Zipped z({{"Buch/ncc.html", "ncc"}, {"Buch/a.MP3", "audio"}, {"Buch/b.wav", "wave"},
              {"Buch/text.html", "text"}, {"Buch/css/book.css", "css"}, {"Anhang/x.html", "not the book's"},
              {"Buch/kap1.SMIL", "smil"}, {"Buch/book.ncx", "ncx"}, {"Buch/book.opf", "opf"}, {"Buch/dtbook.xml", "xml"}});
    const std::string folder = z.book->folder();
    z.book->unpackTexts();
    EXPECT_EQ(z.archives.unpacked, (std::vector<std::string>{"0:Buch/css/book.css", "0:Buch/dtbook.xml", "0:Buch/ncc.html",
                                                             "0:Buch/text.html"}));

    EXPECT_EQ(z.book->openablePath(folder + "A.mp3"), folder + "a.MP3");
    EXPECT_EQ(z.book->openablePath(folder + "a.MP3"), folder + "a.MP3");  // once
    EXPECT_EQ(z.archives.unpacked.back(), "0:Buch/a.MP3");
    EXPECT_EQ(z.archives.unpacked.size(), 5u);
    EXPECT_TRUE(std::filesystem::is_regular_file(folder + "a.MP3"));
    // Nothing that is no file of the archive is made or looked for.
    EXPECT_EQ(z.book->openablePath(folder + "missing.mp3"), folder + "missing.mp3");
    EXPECT_EQ(z.book->openablePath("/elsewhere/a.MP3"), "/elsewhere/a.MP3");

    const std::string unpackFolder = z.archives.unpackFolder(0);
    z.book.reset();
    EXPECT_FALSE(std::filesystem::exists(unpackFolder));
}

}  // namespace
}  // namespace korvin
