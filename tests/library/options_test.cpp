// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/options.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "library/statefile.h"
#include "support/tempdir.h"

namespace korvin {
namespace {

TEST(OptionsFile, SavedOptionsReadBackAndAMissingOrDamagedFileTurnsEveryOptionOff)
{
    test::TempDir dir;
    const Scrambler scrambler;
    const std::string path = dir.folder() + "Optionen.dl";
    const OptionsFile file(path, scrambler);
    EXPECT_EQ(file.read(), Options{});  // missing
    ASSERT_TRUE(file.write(Options{true, false}));
    EXPECT_EQ(file.read(), (Options{true, false}));
    // Two lines, "1" and "0", scrambled, the last without a line end.
    EXPECT_EQ(readFileBytes(path).bytes, scrambler.scramble("1") + "\n" + scrambler.scramble("0"));

    const auto lines = [&](const std::string& first, const char* between, const std::string& rest) {
        return scrambler.scramble(first) + between + rest;
    };
    for (const auto& [bytes, expected] : {
             std::pair{lines("0", "\r\n", scrambler.scramble("1")), Options{false, true}},
             std::pair{lines("1", "\n", scrambler.scramble("1") + "\n" + scrambler.scramble("1")), Options{true, true}},
             std::pair{lines("1", "", ""), Options{}},                          // one line
             std::pair{lines("1", "\n", scrambler.scramble("2")), Options{}},   // no flag
             std::pair{lines("1x", "\n", scrambler.scramble("1")), Options{}},  // more after the flag
             std::pair{lines(" 1", "\n", scrambler.scramble("1")), Options{}},
             std::pair{lines("1", "\n", ""), Options{}}, std::pair{std::string("1\n1"), Options{}},  // not scrambled
         }) {
        SCOPED_TRACE(bytes);
        dir.write("Optionen.dl", bytes);
        EXPECT_EQ(file.read(), expected);
    }
    // A folder standing under the name: nothing read, nothing written.
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_EQ(file.read(), Options{});
    EXPECT_FALSE(file.write(Options{true, true}));
}

}  // namespace
}  // namespace korvin
