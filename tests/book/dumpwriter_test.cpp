// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/dumpwriter.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace korvin {
namespace {

// The escapes written out one byte at a time, as the dump promises them.
std::string escapedByHand(const std::string& value)
{
    std::string out;
    for (const char c : value) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out += c;
        }
    }
    return out;
}

// Every byte value at every place of values up to 19 bytes long: the
// eight-byte test for escapes must miss none and invent none.
TEST(DumpWriter, EscapesExactlyBackslashTabCrAndLfWhereverTheyStand)
{
    for (int length = 1; length < 20; ++length) {
        for (int at = 0; at < length; ++at) {
            std::ostringstream stream;
            std::string expected;
            {
                DumpWriter out(stream);
                for (int byte = 0; byte < 256; ++byte) {
                    std::string value(static_cast<std::size_t>(length), 'a');
                    value[static_cast<std::size_t>(at)] = static_cast<char>(byte);
                    out.escaped(value);
                    expected += escapedByHand(value);
                }
            }
            ASSERT_EQ(stream.str(), expected) << "length " << length << ", byte at " << at;
        }
    }
}

TEST(DumpWriter, KeepsTheOrderOfEverythingAcrossBlocks)
{
    struct Case {
        const char* name;
        std::vector<std::string> values;
    };
    const std::string block(std::size_t{1} << 18, 'x');
    const Case cases[] = {
        {"nothing", {}},
        {"an empty value", {""}},
        {"small values past a block", std::vector<std::string>(70000, "ab\tcd")},
        {"a value of a block", {"head", block, "tail"}},
        {"values larger than a block", {block + block + "\n", "z", block + "\\"}},
        {"a value that just fills the block", {block.substr(4), "four", "next"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ostringstream stream;
        std::string expected;
        {
            DumpWriter out(stream);
            for (const std::string& value : c.values) {
                out.escaped(value);
                out.character('|');
                out.text(value);
                out.number(-12);
                expected += escapedByHand(value) + "|" + value + "-12";
            }
        }
        EXPECT_EQ(stream.str(), expected);
    }
}

TEST(DumpWriter, WritesWhatItHoldsWhenFlushedOrDestroyed)
{
    std::ostringstream stream;
    DumpWriter out(stream);
    out.text("ab");
    out.number(9223372036854775807LL);
    EXPECT_EQ(stream.str(), "");
    out.flush();
    EXPECT_EQ(stream.str(), "ab9223372036854775807");
    out.flush();
    EXPECT_EQ(stream.str(), "ab9223372036854775807");
}

}  // namespace
}  // namespace korvin
