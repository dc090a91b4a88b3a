// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmlencoding.h"

#include <gtest/gtest.h>

#include <string>

namespace korvin {
namespace {

TEST(HtmlEncoding, FindsTheDeclaredCharacterSet)
{
    EXPECT_EQ(HtmlEncoding::declaredCharset("<?xml version='1.0' encoding='UTF-8'?><html>"), "utf-8");
    EXPECT_EQ(HtmlEncoding::declaredCharset(
                  "<HTML><HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=ISO-8859-1\">"),
              "iso-8859-1");
    EXPECT_EQ(HtmlEncoding::declaredCharset("<html><head><meta charset=windows-1250></head>"),
              "windows-1250");
    EXPECT_EQ(HtmlEncoding::declaredCharset("\xEF\xBB\xBF<html>"), "utf-8");
    EXPECT_EQ(HtmlEncoding::declaredCharset("\xFF\xFE<\0h\0"), "utf-16le");
    EXPECT_EQ(HtmlEncoding::declaredCharset("<html><body>charset=koi8-r</body>"), "");
}

TEST(HtmlEncoding, ReadsLatin1AsWindows1252)
{
    const std::string bytes = "<meta charset=\"iso-8859-1\"><p>Gr\xFC\xDF" "e \x80 5 \x93quoted\x94</p>";
    EXPECT_EQ(HtmlEncoding::toUtf8(bytes),
              "<meta charset=\"iso-8859-1\"><p>Gr\u00FC\u00DFe \u20AC 5 \u201Cquoted\u201D</p>");
}

TEST(HtmlEncoding, ReadsUndeclaredOrBrokenUtf8ByteByByte)
{
    // Valid UTF-8 stays; a stray Latin-1 byte, an overlong form and a surrogate
    // are read as Windows-1252 bytes.
    EXPECT_EQ(HtmlEncoding::toUtf8("caf\xC3\xA9 caf\xE9"), "caf\u00E9 caf\u00E9");
    EXPECT_EQ(HtmlEncoding::toUtf8("a\xC0\x80z"), "a\u00C0\u20ACz");
    EXPECT_EQ(HtmlEncoding::toUtf8("\xED\xA0\x80"), "\u00ED\u00A0\u20AC");
    EXPECT_EQ(HtmlEncoding::toUtf8("cut \xE2\x82"), "cut \u00E2\u201A");
    EXPECT_EQ(HtmlEncoding::toUtf8("<?xml version=\"1.0\" encoding=\"utf-8\"?>\xF0\x9F\x98\x80"),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\U0001F600");
    // Long runs of ASCII around them, ending anywhere in a word of eight bytes.
    for (std::size_t run = 7; run <= 17; ++run) {
        const std::string ascii(run, 'x');
        EXPECT_EQ(HtmlEncoding::toUtf8(ascii + "\xE9" + ascii + "\xC3\xA9" + ascii),
                  ascii + "\u00E9" + ascii + "\u00E9" + ascii) << run;
    }
}

TEST(HtmlEncoding, RemovesTheByteOrderMarkAndConvertsUtf16)
{
    EXPECT_EQ(HtmlEncoding::toUtf8("\xEF\xBB\xBF<p>\xC3\xA4</p>"), "<p>\u00E4</p>");
    const std::string utf16le("\xFF\xFE<\0p\0>\0\xE4\0", 10);
    EXPECT_EQ(HtmlEncoding::toUtf8(utf16le), "<p>\u00E4");
    const std::string utf16be("\xFE\xFF\0<\0p\0>\0\xE4", 10);
    EXPECT_EQ(HtmlEncoding::toUtf8(utf16be), "<p>\u00E4");
}

TEST(HtmlEncoding, ConvertsOtherDeclaredSetsAndSurvivesUnknownOnes)
{
    EXPECT_EQ(HtmlEncoding::toUtf8("<meta charset=iso-8859-2>\xB1"), "<meta charset=iso-8859-2>\u0105");
    EXPECT_EQ(HtmlEncoding::toUtf8("<meta charset=no-such-set>\xE4"), "<meta charset=no-such-set>\u00E4");
    // A 16-bit set declared in ASCII cannot be true; read the bytes instead.
    EXPECT_EQ(HtmlEncoding::toUtf8("<meta charset=utf-16>\xC3\xA4"), "<meta charset=utf-16>\u00E4");
    EXPECT_EQ(HtmlEncoding::toUtf8(""), "");
}

TEST(HtmlEncoding, GivesC1ControlsTheirWindows1252Meaning)
{
    const std::pair<std::string, std::string> cases[] = {
        {"It\u0092s", "It\u2019s"},
        {"\u0080\u0096\u009F", "\u20AC\u2013\u0178"},
        {"\u0081\u008D\u008F\u0090\u009D", "\u0081\u008D\u008F\u0090\u009D"},  // not in Windows-1252
        {"\u00A0\u00C2\u00BF \u0100", "\u00A0\u00C2\u00BF \u0100"},  // C2 leads, but no C1 follows
        {"ends in \xC2", "ends in \xC2"},
        {"", ""},
    };
    for (const auto& [text, expected] : cases) {
        std::string changed = text;
        EXPECT_EQ(HtmlEncoding::replaceC1Controls(changed), text != expected) << text;
        EXPECT_EQ(changed, expected) << text;
    }
}

}  // namespace
}  // namespace korvin
