// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/booklistfile.h"

#include <gtest/gtest.h>

#include <set>

#include "support/tempdir.h"

namespace korvin {
namespace {

TEST(BookListFile, NamesAreSafeAndDistinctForEveryRoot)
{
    std::set<std::string> names;
    for (const char* root : {"/", "/media/a b", "/media/a_b", "/media/a/b", "/home/anna", "/media/../etc", "/x\n\\y"}) {
        const std::string name = BookListFile::nameFor(root);
        EXPECT_EQ(name.rfind("Buecher_", 0), 0u) << name;
        EXPECT_EQ(name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_-."),
                  std::string::npos)
            << name;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 7u);
    EXPECT_EQ(BookListFile::nameFor("/media/a b"), BookListFile::nameFor("/media/a b"));
}

TEST(BookListFile, KeepsFoldersScrambledOnePerLineAndSurvivesDamage)
{
    test::TempDir home;
    const Scrambler scrambler;
    const BookListFile file(home.path().string(), "/media/Hörbücher", scrambler);
    const std::vector<std::string> folders{"/media/Hörbücher/Krimi", "/media/Hörbücher/Ein Buch"};
    ASSERT_TRUE(file.write(folders));
    EXPECT_EQ(file.read(), folders);
    EXPECT_EQ(home.read(BookListFile::nameFor("/media/Hörbücher")),
              scrambler.scramble(folders[0]) + "\n" + scrambler.scramble(folders[1]) + "\n");

    home.write(BookListFile::nameFor("/media/Hörbücher"), std::string("\xff\x00\n\n\xc3", 5));
    EXPECT_EQ(file.read().size(), 2u);  // read as it is, empty lines passed over
    home.write(BookListFile::nameFor("/media/Hörbücher"), std::string(BookListFile::kMaxBytes + 1, 'a'));
    EXPECT_TRUE(file.read().empty());
}

}  // namespace
}  // namespace korvin
