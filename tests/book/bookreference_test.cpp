// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/bookreference.h"

#include <gtest/gtest.h>

namespace korvin {
namespace {

// A reference that leaves the book (another place, a parent of its folder) is none.
TEST(BookReference, ResolvesAgainstTheFolderOfTheFileThatMakesItAndNeverLeavesTheBook)
{
    const struct {
        const char* base;
        const char* href;
        std::optional<BookReference> reference;
    } cases[] = {
        {"book.ncx", "a.smil#p1", BookReference{"a.smil", "p1"}},
        {"book.ncx", "a.smil", BookReference{"a.smil", ""}},
        {"smil/a.smil", "../audio/a.mp3", BookReference{"audio/a.mp3", ""}},
        {"smil/a.smil", "./b.smil#x#y", BookReference{"smil/b.smil", "x#y"}},
        {"smil/a.smil", "#p2", BookReference{"smil/a.smil", "p2"}},
        {"a.smil", "sub\\b.mp3", BookReference{"sub/b.mp3", ""}},
        {"a.smil", "my%20book.mp3", BookReference{"my book.mp3", ""}},
        {"a.smil", "a%2Fb.mp3", BookReference{"a%2Fb.mp3", ""}},  // no new path step
        {"a.smil", "100%.mp3", BookReference{"100%.mp3", ""}},
        {"x/y/a.smil", "../../b.smil", BookReference{"b.smil", ""}},
        {"a.smil", "http://example.org/a.mp3", std::nullopt},
        {"a.smil", "file:///etc/passwd", std::nullopt},
        {"a.smil", "C:\\audio\\a.mp3", std::nullopt},
        {"a.smil", "/etc/passwd", std::nullopt},
        {"a.smil", "\\\\server\\share\\a.mp3", std::nullopt},
        {"a.smil", "../a.mp3", std::nullopt},
        {"smil/a.smil", "../../a.mp3", std::nullopt},
        {"a.smil", "sub/../../a.mp3", std::nullopt},
        {"a.smil", "a%00.mp3", std::nullopt},
        {"a.smil", ".", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(resolveReference(c.base, c.href), c.reference) << c.base << " " << c.href;
}

}  // namespace
}  // namespace korvin
