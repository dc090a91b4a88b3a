// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/zip/ziparchive.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <optional>
#include <set>

#include "app/booksession.h"
#include "book/booklocator.h"
#include "desktop/zip/zipbookarchives.h"
#include "support/tempdir.h"
#include "ui/stringtable.h"
#include "zipwriter.h"

namespace korvin {
namespace {

namespace fs = std::filesystem;
using Fault = BookLocator::Fault;
using test::ZipEntry;

// "Bücher/" as DOS tools write it, and in UTF-8.
const std::string kCp437Folder = "B\x81\x63her/";
const std::string kUtf8Folder = "B\xC3\xBC\x63her/";
const std::string kNcc = "<html><body><h1><a href=\"a.smil#p1\">Eins</a></h1></body></html>";

std::vector<ZipEntry> book(const std::string& folder)
{
    return {{folder + "ncc.html", kNcc}, {folder + "a.smil", "<smil/>"}, {folder + "a.mp3", std::string(5000, 'a')}};
}

std::vector<ZipEntry> with(std::vector<ZipEntry> entries, ZipEntry more)
{
    entries.push_back(std::move(more));
    return entries;
}

// Every file below `root` that is not below `except`.
std::set<std::string> filesOutside(const fs::path& root, const fs::path& except)
{
    std::set<std::string> files;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        if (it->path() == except) {
            it.disable_recursion_pending();
            continue;
        }
        if (!it->is_directory())
            files.insert(it->path().lexically_relative(root).string());
    }
    return files;
}

TEST(ZipArchive, RefusesHostileArchivesWithAClearMessageAndWritesNothingOutsideTheCache)
{
    test::TempDir disk;
    const std::string d = disk.folder();
    const fs::path cache = disk.path() / "cache";
    const StringTable strings = StringTable::builtIn();
    std::vector<ZipEntry> tooMany;
    for (std::size_t i = 0; i <= kMaxArchiveMembers; ++i)
        tooMany.push_back({"f" + std::to_string(i), ""});
    const std::string good = test::zipBytes(book("Buch/"));
    const auto plus = [](ZipEntry more) { return test::zipBytes(with(book("Buch/"), std::move(more))); };

    const struct {
        const char* what;
        std::string bytes;
        std::optional<Fault> fault;  // nullopt: the book opens
        std::string bookFolder = "";
    } cases[] = {
        {"a book in a folder", good, std::nullopt, "Buch/"},
        {"a book at the root, stored", test::zipBytes(book(""), true), std::nullopt, ""},
        {"a folder named in code page 437", test::zipBytes(book(kCp437Folder)), std::nullopt, kUtf8Folder},
        {"a folder named in UTF-8", test::zipBytes(book(kUtf8Folder)), std::nullopt, kUtf8Folder},
        {"a parent folder", plus({"../evil", "x"}), Fault::kZipUnsafe},
        {"a parent written the Windows way", plus({"..\\evil", "x"}), Fault::kZipUnsafe},
        {"an absolute path", plus({d + "evil", "x"}), Fault::kZipUnsafe},
        {"a symbolic link", plus({.name = "Buch/link.mp3", .bytes = "/etc/passwd", .link = true}), Fault::kZipUnsafe},
        {"a zip bomb", plus({"Buch/b.mp3", std::string(4 << 20, 0)}), Fault::kZipTooLarge},
        {"too many members", test::zipBytes(tooMany, true), Fault::kZipTooManyMembers},
        {"an encrypted member", plus({.name = "Buch/secret.mp3", .bytes = std::string(50, 'a'), .encrypted = true}),
         Fault::kZipEncrypted},
        {"two books", test::zipBytes(with(book("A/"), {"B/ncc.html", kNcc})), Fault::kZipSeveralBooks},
        {"no book", test::zipBytes({{"Buch/a.mp3", "x"}, {"liesmich.txt", "x"}}), Fault::kZipNoBook},
        {"an empty file", "", Fault::kZipUnreadable},
        {"no zip archive at all", std::string("PK\x03\x04") + " not really a zip archive", Fault::kZipUnreadable},
        {"an archive cut short", good.substr(0, good.size() / 2), Fault::kZipUnreadable},
    };
    std::map<Fault, std::string> messages;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string zip = d + "Buch.zip";
        disk.write("Buch.zip", c.bytes);
        {
            const ZipBookArchives archives(cache.string());
            auto located = BookLocator(archives).locate(zip);
            if (!c.fault) {
                ASSERT_TRUE(std::holds_alternative<BookLocator::Located>(located));
                auto& opened = std::get<BookLocator::Located>(located);
                ASSERT_TRUE(opened.zipped);
                EXPECT_EQ(opened.folder.substr(opened.folder.size() - c.bookFolder.size()), c.bookFolder);
                // What the player opens by path is unpacked into the cache.
                const std::string audio = opened.zipped->openablePath(opened.folder + "a.mp3");
                EXPECT_EQ(audio.rfind(cache.string() + "/", 0), 0u) << audio;
                EXPECT_EQ(disk.read(fs::path(audio).lexically_relative(disk.path()).string()), std::string(5000, 'a'));
            } else {
                ASSERT_TRUE(std::holds_alternative<Fault>(located));
                const Fault fault = std::get<Fault>(located);
                EXPECT_EQ(fault, *c.fault);
                const int id = zipFaultMessage(fault);
                EXPECT_NE(strings.get(id, 0), "");
                EXPECT_NE(strings.get(id, 200), "");
                EXPECT_NE(strings.get(id, 0), strings.get(id, 200));
                messages.emplace(fault, strings.get(id, 200));
            }
        }
        EXPECT_EQ(filesOutside(disk.path(), cache), (std::set<std::string>{"Buch.zip"}));
        // The program's own folder went with the archives; nothing is left in the cache.
        EXPECT_TRUE(fs::is_empty(cache));
    }
    // Each refusal says its own reason.
    std::set<std::string> distinct;
    for (const auto& [fault, message] : messages)
        EXPECT_TRUE(distinct.insert(message).second) << message;
    EXPECT_EQ(messages.size(), 7u);
}

TEST(ZipArchive, AMemberWhoseDataIsDamagedIsNeitherReadNorUnpacked)
{
    test::TempDir disk;
    disk.write("Buch.zip",
               test::zipBytes({{"Buch/ncc.html", kNcc}, {.name = "Buch/a.smil", .bytes = "<smil>x</smil>", .damaged = true}}));
    auto opened = ZipArchive::open(disk.folder() + "Buch.zip", disk.folder() + "unpacked/");
    ASSERT_TRUE(opened.archive);
    std::string bytes = "old";
    EXPECT_TRUE(opened.archive->read("Buch/ncc.html", bytes, 1000));
    EXPECT_EQ(bytes, kNcc);
    EXPECT_FALSE(opened.archive->read("Buch/ncc.html", bytes, kNcc.size() - 1));  // beyond the limit given
    EXPECT_EQ(bytes, "");
    EXPECT_FALSE(opened.archive->read("Buch/a.smil", bytes, 1000));
    EXPECT_EQ(bytes, "");
    EXPECT_FALSE(opened.archive->unpack("Buch/a.smil"));
    EXPECT_FALSE(opened.archive->unpack("Buch/none.smil"));
    EXPECT_TRUE(opened.archive->unpack("Buch/ncc.html"));
    EXPECT_EQ(disk.read("unpacked/Buch/ncc.html"), kNcc);
    EXPECT_FALSE(fs::exists(disk.path() / "unpacked/Buch/a.smil"));
    EXPECT_FALSE(fs::exists(disk.path() / "unpacked/Buch/a.smil.partial"));
    opened.archive.reset();
    EXPECT_FALSE(fs::exists(disk.path() / "unpacked"));
}

TEST(ZipArchive, APipeNamedLikeAZipFileIsRefusedWithoutWaiting)
{
    test::TempDir disk;
    const std::string pipe = disk.folder() + "Buch.zip";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const auto opened = ZipArchive::open(pipe, disk.folder() + "unpacked/");
    EXPECT_FALSE(opened.archive);
    EXPECT_EQ(opened.fault, BookArchives::Fault::kUnreadable);
}

}  // namespace
}  // namespace korvin
