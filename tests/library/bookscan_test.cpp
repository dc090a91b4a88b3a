// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/bookscan.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "support/tempdir.h"

namespace korvin {
namespace {

namespace fs = std::filesystem;
using Folders = std::set<std::string>;

Folders scan(const test::TempDir& dir)
{
    const std::atomic<bool> cancelled{false};
    const std::vector<std::string> found = scanForBooks(dir.path().string(), cancelled);
    Folders relative;
    for (const std::string& folder : found) {
        EXPECT_EQ(folder.rfind(dir.path().string(), 0), 0u) << "outside the drive: " << folder;
        relative.insert(folder.substr(std::min(folder.size(), dir.path().string().size())));
    }
    EXPECT_EQ(relative.size(), found.size()) << "listed twice";
    return relative;
}

TEST(ListedFolders, PassesOverAFolderWhenAListedOneIsItOrInsideIt)
{
    const struct {
        std::vector<std::string> before;
        std::string folder;
        bool added;
    } cases[] = {
        {{"/x/books/a"}, "/x/books", false},  // a nested book found first
        {{"/x/books"}, "/x/books", false},
        {{"/x/books2"}, "/x/books", true},   // a sibling with the same beginning
        {{"/x/books!"}, "/x/books", true},   // sorts between the folder and its insides
        {{"/x/books"}, "/x/books/a", true},  // inside a listed one is not covered
        {{"/x/a"}, "/", false},
    };
    for (const auto& c : cases) {
        ListedFolders listed;
        for (const std::string& folder : c.before)
            listed.add(folder);
        EXPECT_EQ(listed.add(c.folder), c.added) << c.folder;
    }
}

TEST(BookScan, FindsBooksInAnyCaseAndKeepsTheFoldersOwnCase)
{
    test::TempDir drive;
    drive.write("Hörbücher/Krimi/NCC.HTML", "");
    drive.write("b/ncc.html", "");
    drive.write("c/ncc.html.bak", "");
    drive.write("d/ncc.html/inside.txt", "");  // a folder named like the file
    drive.write("e/deeper/still/Ncc.Html", "");
    EXPECT_EQ(scan(drive), (Folders{"/Hörbücher/Krimi", "/b", "/e/deeper/still"}));
}

TEST(BookScan, ListsPackageFoldersAndZipFilesAsTheyAre)
{
    test::TempDir drive;
    drive.write("Daisy3/Buch.OPF", "");
    drive.write("Downloads/Krimi.zip", "");
    drive.write("Downloads/Roman.ZIP", "");
    drive.write("Downloads/notes.zipx", "");
    drive.write("Downloads/archiv.zip/ncc.html", "");  // a folder named like a zip file
    drive.write("Buch/ncc.html", "");
    drive.write("Buch/Beilage.zip", "");  // inside a book: part of it
    fs::create_directories(drive.path() / "l");
    fs::create_symlink(drive.path() / "Downloads" / "Krimi.zip", drive.path() / "l" / "link.zip");
    EXPECT_EQ(scan(drive), (Folders{"/Daisy3", "/Downloads/Krimi.zip", "/Downloads/Roman.ZIP",
                                    "/Downloads/archiv.zip", "/Buch"}));
}

TEST(BookScan, NeverFollowsLinksAndSurvivesLoops)
{
    test::TempDir drive;
    test::TempDir outside;
    outside.write("elsewhere/ncc.html", "");
    drive.write("real/ncc.html", "");
    fs::create_directory_symlink(outside.path() / "elsewhere", drive.path() / "link");
    fs::create_directory_symlink(drive.path(), drive.path() / "real" / "loop");
    fs::create_directories(drive.path() / "s");
    fs::create_symlink(outside.path() / "elsewhere" / "ncc.html", drive.path() / "s" / "ncc.html");
    EXPECT_EQ(scan(drive), (Folders{"/real"}));
}

TEST(BookScan, DiscInfoLinksAddTheirFoldersButNeverLeaveTheDrive)
{
    test::TempDir drive;
    test::TempDir outside;
    fs::create_directories(outside.path() / "secret");
    fs::create_directories(drive.path() / "disc" / "title1");
    fs::create_directories(drive.path() / "disc" / "Title2");
    fs::create_directory_symlink(outside.path() / "secret", drive.path() / "disc" / "out");
    drive.write("disc/DiscInfo.html", "<html><body>\n"
                                      "<p><a href=\"./title1/ncc.html\">Eins</a></p>\n"
                                      "<P><A HREF=\"./Title2/NCC.HTML\">Zwei</A></P>\n"
                                      "<a href=\"../../../../../etc/ncc.html\">up</a>\n"
                                      "<a href=\"./../disc/title1/ncc.html\">up and back</a>\n"
                                      "<a href=\"./out/ncc.html\">through a link</a>\n"
                                      "<a href=\"./missing/ncc.html\">gone</a>\n");
    EXPECT_EQ(scan(drive), (Folders{"/disc/title1", "/disc/Title2"}));
}

TEST(BookScan, DiscInfoLinksWithBackslashesFollowTheSameRules)
{
    const struct {
        const char* link;
        Folders found;
    } cases[] = {
        {".\\title1\\ncc.html", {"/disc/title1"}},
        {".\\Title2\\NCC.HTML", {"/disc/Title2"}},
        {"./title3\\sub/ncc.html", {"/disc/title3/sub"}},  // mixed
        {".\\\\title1\\\\ncc.html", {"/disc/title1"}},
        {".\\..\\up\\ncc.html", {}},
        {".\\title1\\..\\..\\up\\ncc.html", {}},
        {"..\\..\\up\\ncc.html", {}},  // the link is what follows `".`: ".\..\up"
        {".\\out\\ncc.html", {}},      // a link to a folder outside
        {".\\missing\\ncc.html", {}},
        {".C:\\title1\\ncc.html", {}},        // "C:" is a name like any other here
        {"C:\\title1\\ncc.html", {"/disc"}},  // no full stop: the disc's own folder
        {"\\\\server\\share\\ncc.html", {"/disc"}},
    };
    for (const auto& c : cases) {
        test::TempDir drive;
        test::TempDir outside;
        for (const char* folder : {"disc/title1", "disc/Title2", "disc/title3/sub", "up"})
            fs::create_directories(drive.path() / folder);
        fs::create_directory_symlink(outside.path(), drive.path() / "disc" / "out");
        drive.write("disc/discinfo.html", std::string("<a href=\"") + c.link + "\">Titel</a>\n");
        EXPECT_EQ(scan(drive), c.found) << c.link;
    }
}

TEST(BookScan, DamagedDiscInfoFilesListNothingOutside)
{
    test::TempDir drive;
    std::string many;
    for (int i = 0; i < 100000; ++i)
        many += "<a href=\"./t" + std::to_string(i) + "/ncc.html\">x</a>\n";
    drive.write("a/discinfo.html", many);
    drive.write("b/discinfo.html", "<a href=\"/etc/ncc.html\">absolute</a>\n");  // names the disc's own folder
    drive.write("c/discinfo.html", std::string("\0<a href=\"\xff\x00\"./\">", 18) + std::string(5000, '\xfe'));
    drive.write("d/discinfo.html", "no links at all");
    // At most a disc's own folder (a link without "./" names it), never a
    // folder that does not exist or lies outside.
    for (const std::string& folder : scan(drive))
        EXPECT_EQ(folder.size(), 2u) << folder;
}

// Builds a chain of `depth` folders below `root` by descriptors (the path is
// far longer than a path may be), a book at the bottom, and a second folder
// beside some of the links, so the walk must come back up to them.
void buildDeepTree(const std::string& root, int depth)
{
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
    for (int level = 0; level < depth; ++level) {
        ASSERT_EQ(::mkdirat(fd, "d", 0755), 0);
        if (level % 1000 == 0) {
            ASSERT_EQ(::mkdirat(fd, "side", 0755), 0);
        }
        const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    ::close(::openat(fd, "ncc.html", O_WRONLY | O_CREAT, 0644));
    ::close(fd);
}

// Takes the chain apart from the top: the folder below the first moves up
// into its place, so no path grows long.
void removeDeepTree(const std::string& root, int depth)
{
    const int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
    for (int level = 0; level + 1 < depth; ++level) {
        ::unlinkat(fd, "d/side", AT_REMOVEDIR);
        ASSERT_EQ(::renameat(fd, "d/d", fd, "next"), 0);
        ASSERT_EQ(::unlinkat(fd, "d", AT_REMOVEDIR), 0);
        ASSERT_EQ(::renameat(fd, "next", fd, "d"), 0);
    }
    ::unlinkat(fd, "d/ncc.html", 0);
    ::unlinkat(fd, "d", AT_REMOVEDIR);
    ::close(fd);
}

TEST(BookScan, WalksATreeTenThousandFoldersDeep)
{
    // In memory where the system has it: taking a deep tree apart on a disk
    // costs far more than the walk.
    char memory[] = "/dev/shm/korvin-deep-XXXXXX";
    const bool inMemory = ::mkdtemp(memory) != nullptr;
    const test::TempDir disk;
    const std::string root = inMemory ? std::string(memory) : disk.path().string();
    constexpr int kDepth = 10000;
    buildDeepTree(root, kDepth);
    const std::atomic<bool> cancelled{false};
    const std::vector<std::string> found = scanForBooks(root, cancelled);
    removeDeepTree(root, kDepth);
    if (inMemory)
        ::rmdir(memory);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].size(), root.size() + 2 * kDepth);
}

TEST(BookScan, ACancelledWalkEndsAtOnceAndAMissingRootFindsNothing)
{
    test::TempDir drive;
    drive.write("a/ncc.html", "");
    const std::atomic<bool> cancelled{true};
    EXPECT_TRUE(scanForBooks(drive.path().string(), cancelled).empty());
    const std::atomic<bool> running{false};
    EXPECT_TRUE(scanForBooks(drive.folder() + "missing", running).empty());
}

}  // namespace
}  // namespace korvin
