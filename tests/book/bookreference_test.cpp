// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/bookreference.h"

#include <gtest/gtest.h>

namespace korvin {
namespace {

TEST(BookReference, ResolvesAgainstTheFolderOfTheFileThatMakesIt)
{
    const struct {
        const char* base;
        const char* href;
        const char* file;
        const char* fragment;
    } cases[] = {
        {"book.ncx", "a.smil#p1", "a.smil", "p1"},
        {"book.ncx", "a.smil", "a.smil", ""},
        {"smil/a.smil", "../audio/a.mp3", "audio/a.mp3", ""},
        {"smil/a.smil", "./b.smil#x#y", "smil/b.smil", "x#y"},
        {"smil/a.smil", "#p2", "smil/a.smil", "p2"},
        {"a.smil", "sub\\b.mp3", "sub/b.mp3", ""},
        {"a.smil", "my%20book.mp3", "my book.mp3", ""},
        {"a.smil", "a%2Fb.mp3", "a%2Fb.mp3", ""},  // no new path step
        {"a.smil", "100%.mp3", "100%.mp3", ""},
        {"x/y/a.smil", "../../b.smil", "b.smil", ""},
    };
    for (const auto& c : cases) {
        const auto reference = resolveReference(c.base, c.href);
        ASSERT_TRUE(reference) << c.base << " " << c.href;
        EXPECT_EQ(*reference, (BookReference{c.file, c.fragment})) << c.base << " " << c.href;
    }
}

TEST(BookReference, RefusesReferencesThatLeaveTheBook)
{
    const struct {
        const char* base;
        const char* href;
    } cases[] = {
        {"a.smil", "http://example.org/a.mp3"},
        {"a.smil", "file:///etc/passwd"},
        {"a.smil", "C:\\audio\\a.mp3"},
        {"a.smil", "/etc/passwd"},
        {"a.smil", "\\\\server\\share\\a.mp3"},
        {"a.smil", "../a.mp3"},
        {"smil/a.smil", "../../a.mp3"},
        {"a.smil", "sub/../../a.mp3"},
        {"a.smil", "a%00.mp3"},
        {"a.smil", "."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(resolveReference(c.base, c.href), std::nullopt) << c.base << " " << c.href;
}

}  // namespace
}  // namespace korvin
