// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/regularfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/tempdir.h"

namespace korvin {
namespace {

using test::TempDir;

// A reader keeps one buffer for all files of a book: whatever the last file
// left in it, the next reading holds that file's bytes and nothing else, and
// a refused file (also one a byte larger than the bound) leaves it empty.
TEST(RegularFile, AReusedBufferHoldsExactlyTheFileReadLast)
{
    TempDir dir;
    struct Case {
        const char* name;
        std::string bytes;  // what the buffer then holds
        bool readable;
        std::size_t maxBytes = kMaxBookFileBytes;
    };
    const Case cases[] = {
        {"large.smil", std::string(100000, 'L') + "end", true},
        {"small.smil", "abc", true},
        {"empty.smil", "", true},
        {"one.smil", "1", true},
        {"missing.smil", "", false},
        {"sub", "", false},  // a folder
        {"again.smil", std::string(100001, 'a'), true},
        {"nul.smil", std::string("x\0y", 3), true},
        {"big.smil", "", false, 999},  // a byte more than allowed
        {"big.smil", std::string(1000, 'b'), true, 1000},
    };
    std::filesystem::create_directory(dir.path() / "sub");
    for (const Case& c : cases)
        if (c.readable)
            dir.write(c.name, c.bytes);
    std::string buffer = "left over from before";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readRegularFile(dir.folder() + c.name, buffer, c.maxBytes), c.readable);
        EXPECT_EQ(buffer, c.bytes);
    }
}

}  // namespace
}  // namespace korvin
