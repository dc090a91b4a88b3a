// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/stringtable.h"

#include <gtest/gtest.h>

namespace korvin {
namespace {

TEST(StringTable, HasEveryTextInGermanAndEnglish)
{
    const StringTable strings = StringTable::builtIn();
    const auto expectBoth = [&](int id) {
        EXPECT_FALSE(strings.get(id).empty()) << id;
        EXPECT_FALSE(strings.get(id, 200).empty()) << id + 200;
    };
    for (int id = 1; id <= 43; ++id)
        expectBoth(id);
    for (int id = 100; id <= 199; ++id)
        expectBoth(id);
    for (int id = 44; id <= 49; ++id)
        expectBoth(id);
    expectBoth(68);
    expectBoth(1090);
    // Every German text has its English partner and nothing stands alone.
    for (const auto& [id, text] : strings.all()) {
        const bool german = (id >= 1 && id < 200) || id == 1090;
        if (german)
            EXPECT_TRUE(strings.contains(id + 200)) << id;
        else
            EXPECT_TRUE(strings.contains(id - 200)) << id;
    }
}

TEST(StringTable, KeepsTextsCharacterForCharacterWithTrailingBlanksQuotesAndLineBreaks)
{
    const StringTable strings = StringTable::builtIn();
    EXPECT_EQ(strings.get(2), "Die ncc.html konnte nicht geöffnet werden!");
    EXPECT_EQ(strings.get(202), "Could not open ncc.html!");
    EXPECT_EQ(strings.get(17), "Die Gesamtspieldauer beträgt ");
    EXPECT_EQ(strings.get(217), "Total time ");
    EXPECT_EQ(strings.get(214), "Please enter a page number and press \"Enter\" or ESC to abort.");
    EXPECT_EQ(strings.get(39), "Wechseln...");
    EXPECT_EQ(strings.get(38).substr(0, 61), "Der ausgewählte Titel ist nicht Bestandteil dieses Buches.\n\n");
    EXPECT_EQ(strings.get(42), "/documents/html/start_de.html");
    EXPECT_EQ(strings.get(243), "/documents/Manuals/EN/DAISY/");
    EXPECT_EQ(strings.get(107), "&Öffnen\tStrg+O");
    EXPECT_EQ(strings.get(1090), "&Info über Korvin 2.0...");
}

TEST(StringTable, FillInPutsTheValuesInOrderAndNeverIntoAValue)
{
    EXPECT_EQ(fillIn("%i von %i: %s.", {"1", "2", "Titel %s mit %i"}), "1 von 2: Titel %s mit %i.");
    EXPECT_EQ(fillIn("100% sicher, %s", {"ja"}), "100% sicher, ja");
    EXPECT_EQ(fillIn("%s und %s", {"eins"}), "eins und %s");
    EXPECT_EQ(fillIn("am Ende %", {"x"}), "am Ende %");
}

TEST(StringTable, MissingTextsReadAsEmpty)
{
    const StringTable strings("# comment\n5\tfive\r\nbroken line\n7\ta\\tb\\\\c\\x\n");
    EXPECT_EQ(strings.get(5), "five");
    EXPECT_EQ(strings.get(7), "a\tb\\c\\x");
    EXPECT_EQ(strings.get(6), "");
    EXPECT_EQ(strings.get(5, 200), "");
}

}  // namespace
}  // namespace korvin
