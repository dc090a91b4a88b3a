// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/booksearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/fakearchives.h"
#include "support/fakeplatform.h"
#include "support/tempdir.h"

namespace korvin {
namespace {

struct Fixture {
    test::TempDir home;
    test::TempDir drive;
    Scrambler scrambler;
    StringTable strings = StringTable::builtIn();
    test::FakeWaitWindow waitWindow;
    test::FakeMessageBoxes messageBoxes;
    test::FakeBookArchives archives;
    BookListFile file{home.path().string(), drive.path().string(), scrambler};

    BookSearch search(int language = 0)
    {
        return BookSearch(drive.path().string(), file, strings, language, {waitWindow, messageBoxes, archives});
    }
    void book(const std::string& folder, const std::string& title)
    {
        drive.write(folder + "/ncc.html", "<body>\n<h1><a href=\"a.smil\">" + title + "</a></h1>\n");
    }
};

TEST(BookSearch, MakingAListFindsTheBooksAndKeepsThemInTheListFile)
{
    Fixture f;
    f.book("Krimi", "Der Fall");
    f.book("Ohne", "");
    BookSearch search = f.search();
    search.load();
    EXPECT_EQ(search.lines(), (std::vector<std::string>{"Liste erstellen?"}));
    EXPECT_EQ(search.currentLine(), 0);

    search.makeList();
    ASSERT_EQ(f.waitWindow.texts, (std::vector<std::string>{"Suche läuft. Bitte warten..."}));
    std::vector<std::string> lines = search.lines();
    ASSERT_EQ(lines.size(), 3u);
    std::sort(lines.begin() + 1, lines.end());
    EXPECT_EQ(lines, (std::vector<std::string>{"Liste erstellen?", "Der Fall", "Ohne Titel"}));
    EXPECT_EQ(search.currentLine(), 1);
    ASSERT_EQ(f.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(f.messageBoxes.shown[0].text, "2 Bücher gefunden.");
    EXPECT_EQ(f.messageBoxes.shown[0].caption, "Information");
    EXPECT_EQ(f.file.read().size(), 2u);
    const std::string first = search.folder(1);
    EXPECT_EQ(first.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(first + "ncc.html"));
    EXPECT_EQ(search.folder(0), "");
    EXPECT_EQ(search.folder(3), "");
}

TEST(BookSearch, ListsDaisy3BooksAndZippedBooksByTheirTitles)
{
    Fixture f;
    f.drive.write("d3/book.opf", "<package><metadata><dc-metadata><dc:Title>Das Paket</dc:Title>"
                                 "</dc-metadata></metadata></package>");
    f.drive.write("Krimi.zip", "");
    f.drive.write("kaputt.zip", "");
    f.drive.write("leer.zip", "");
    const std::string d = f.drive.folder();
    f.archives.addFiles(d + "Krimi.zip", {{"Krimi/ncc.html", "<h1><a href=\"a.smil\">Der Fall</a></h1>"}});
    f.archives.addFiles(d + "leer.zip", {{"liesmich.txt", ""}});
    f.archives.refuse(d + "kaputt.zip", BookArchives::Fault::kUnreadable);

    BookSearch search = f.search();
    search.makeList();
    std::vector<std::pair<std::string, std::string>> books;
    for (int line = 1; line < static_cast<int>(search.lines().size()); ++line)
        books.emplace_back(search.lines()[static_cast<std::size_t>(line)], search.folder(line));
    std::sort(books.begin(), books.end());
    EXPECT_EQ(books, (std::vector<std::pair<std::string, std::string>>{{"Das Paket", d + "d3/"},
                                                                        {"Der Fall", d + "Krimi.zip"}}));
    EXPECT_TRUE(f.archives.unpacked.empty());  // a title is read from the archive
}

TEST(BookSearch, TheNextShowingReadsTheListFileWithoutAWalkAndDropsWhatIsGone)
{
    Fixture f;
    f.book("a", "Erstes");
    f.book("b", "");
    f.search().makeList();
    f.book("c", "Neu");  // not in the list until it is made again
    std::filesystem::remove_all(f.drive.path() / "a");

    BookSearch english = f.search(200);
    english.load();
    EXPECT_EQ(english.lines(), (std::vector<std::string>{"Create a list?", "Without title"}));
    EXPECT_EQ(f.waitWindow.texts.size(), 1u);
    EXPECT_EQ(f.file.read().size(), 2u);  // the file keeps the book that is gone
}

TEST(BookSearch, OnlyACompleteWalkReplacesTheListFile)
{
    const struct {
        bool hadList;
        bool cancelled;
        std::size_t kept;  // books in the file afterwards
    } cases[] = {
        {true, true, 3},   // Escape keeps the old list whole
        {false, true, 0},  // and writes no partial one
        {true, false, 1},  // a complete walk replaces it
        {false, false, 1},
    };
    for (const auto& c : cases) {
        Fixture f;
        for (const char* folder : {"a", "b", "c"})
            f.book(folder, folder);
        if (c.hadList)
            f.search().makeList();
        std::filesystem::remove_all(f.drive.path() / "b");
        std::filesystem::remove_all(f.drive.path() / "c");
        f.waitWindow.cancel = c.cancelled;
        BookSearch search = f.search();
        search.makeList();
        EXPECT_EQ(search.lines().size(), c.cancelled ? 1u : 2u);  // what this walk found
        EXPECT_EQ(f.file.read().size(), c.kept) << c.hadList << c.cancelled;
    }
}

TEST(BookSearch, CountsInTheInterfaceLanguage)
{
    const struct {
        int language;
        int books;
        const char* message;
    } cases[] = {
        {0, 0, "0 Bücher gefunden."}, {200, 0, "0 books found."}, {200, 1, "One book found."},
        {0, 1, "Ein Buch gefunden."}, {200, 3, "3 books found."},
    };
    for (const auto& c : cases) {
        Fixture f;
        for (int i = 0; i < c.books; ++i)
            f.book("b" + std::to_string(i), "");
        BookSearch search = f.search(c.language);
        search.makeList();
        ASSERT_EQ(f.messageBoxes.shown.size(), 1u);
        EXPECT_EQ(f.messageBoxes.shown[0].text, c.message);
        if (c.books > 0) {
            EXPECT_EQ(search.lines()[1], c.language == 0 ? "Ohne Titel" : "w/o title");
        }
    }
}

}  // namespace
}  // namespace korvin
