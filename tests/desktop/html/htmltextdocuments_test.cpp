// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmltextdocuments.h"

#include "desktop/html/htmldocument.h"
#include "desktop/html/htmlencoding.h"
#include "desktop/html/htmlnode.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/tempdir.h"

namespace korvin {
namespace {

std::string anchorsOf(const DocumentText& document)
{
    std::string out;
    for (const DocumentText::Anchor& anchor : document.anchors)
        out += anchor.id + "@" + std::to_string(anchor.offset) + " ";
    return out;
}

// Every character apart from white space.
std::string withoutSpace(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\xC2' && i + 1 < text.size() && (text[i + 1] == '\xA0' || text[i + 1] == '\xAD')) {
            ++i;
            continue;
        }
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r' && c != '\f')
            out += c;
    }
    return out;
}

// The text nodes of the body as the text view's document holds them.
std::string viewText(const std::string& bytes)
{
    const HtmlDocument document = HtmlDocument::fromBytes(bytes);
    std::string text;
    const xmlNode* body = document.body();
    for (const xmlNode* node = body->children; node; node = HtmlNode::next(body, node)) {
        const std::string_view parent = HtmlNode::name(node->parent);
        if (node->type == XML_TEXT_NODE && node->content && parent != "script" && parent != "style")
            text += reinterpret_cast<const char*>(node->content);
    }
    return text;
}

TEST(HtmlTextDocuments, ReadsTheTextAsTheViewShowsItWithWhereEachIdBegins)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::string text;
        std::string anchors;
    };
    const Case cases[] = {
        {"blocks part lines, spaces fold, the head and script are left out",
         "<html><head><title>Titel</title></head><body id=\"b\">\n<h1 id=\"h\">Kapitel  eins</h1>\n"
         "<p id=\"p1\">Der\n   Vertrag</p><script>var p1;</script><p id=\"p10\">p1 und <b id=\"x\">p10</b></p>"
         "<!-- p1 --></body></html>",
         "Kapitel eins\nDer Vertrag\np1 und p10", "b@0 h@0 p1@13 p10@25 x@32 "},
        {"entities, a no-break space and a soft hyphen",
         "<p id=\"a\">M&uuml;ller &amp; S&ouml;hne&nbsp;GmbH Ver&shy;trag &lt;span&gt;</p>",
         "Müller & Söhne GmbH Vertrag <span>", "a@0 "},
        {"a declared Latin-1 document", "<meta charset=\"iso-8859-1\"><p id=\"a\">\xDC" "ber den Vertrag</p>",
         "Über den Vertrag", "a@0 "},
        {"undeclared Latin-1 bytes among UTF-8", "<p id=\"a\">gr\xF6\xDF" "er \xC3\xBC" "ber</p>", "größer über",
         "a@0 "},
        {"an unknown character set reads as undeclared", "<meta charset=\"x-nonsense\"><p id=\"a\">sch\xF6n</p>",
         "schön", "a@0 "},
        {"cells, line breaks and preformatted lines", "<table><tr><td id=\"c\">a</td><td>b</td></tr></table>"
         "x<br>y<pre id=\"pre\">1  2\n3</pre>",
         "a\tb\nx\ny\n1  2\n3", "c@0 pre@8 "},
        {"unbalanced tags", "<p id=\"a\"><b>fett<i>kursiv</p><div id=\"b\">weiter</b></i>", "fettkursiv\nweiter",
         "a@0 b@11 "},
        {"tags in capitals, unquoted and awkward attributes, signs as text",
         "<P ID=x TITLE=\"a > b\">a &lt; b &amp;&#228;&#xE4; &foo; 3 < 4</P><p id='y' hidden>z</p>",
         "a < b &ää &foo; 3 < 4\nz", "x@0 y@24 "},
        {"a head that is not closed ends at the first element of the body",
         "<head><title>T</title><meta charset=\"utf-8\"><p id=\"a\">Text</p>", "Text", "a@0 "},
        {"numbers 128 to 159 mean Windows-1252, the five it leaves out stay",
         "<p id=\"a\">It&#146;s &#150; &#x93;so&#X94;, &#128;5 &#129;</p>",
         "It\u2019s \u2013 \u201Cso\u201D, \u20AC5 \u0081", "a@0 "},
        {"an element without text begins where the next text does", "<p>eins<a id=\"leer\"></a></p><p>zwei</p>",
         "eins\nzwei", "leer@5 "},
    };
    for (const Case& c : cases) {
        const DocumentText text = HtmlTextDocuments::textOf(HtmlEncoding::toUtf8(c.bytes));
        EXPECT_EQ(text.text, c.text) << c.name;
        EXPECT_EQ(anchorsOf(text), c.anchors) << c.name;
        // The characters the text view's parser finds, in the same order.
        EXPECT_EQ(withoutSpace(text.text), withoutSpace(viewText(c.bytes))) << c.name;
    }
}

TEST(HtmlTextDocuments, AFileThatCannotBeReadGivesNothingAndAnyFileGivesAText)
{
    test::TempDir folder;
    HtmlTextDocuments documents;
    EXPECT_FALSE(documents.read(folder.folder() + "missing.html"));
    EXPECT_FALSE(documents.read(folder.folder()));
    const std::string pipe = folder.folder() + "pipe.html";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(documents.read(pipe));  // and does not wait for a writer

    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 7919) % 256);
    EXPECT_TRUE(documents.read(folder.write("binary.html", binary).string()));
    EXPECT_TRUE(documents.read(folder.write("empty.html", "").string()));
}

TEST(HtmlTextDocuments, ReadsFiftyMegabytesOnOneLine)
{
    test::TempDir folder;
    std::string line = "<p id=\"a\">";
    const std::string words = "Der Vertrag &auml;ndert nichts. ";
    while (line.size() < 50u * 1024 * 1024)
        line += words;
    line += "</p>";
    const std::optional<DocumentText> text = HtmlTextDocuments().read(folder.write("long.html", line).string());
    ASSERT_TRUE(text);
    EXPECT_EQ(text->text.substr(0, 31), "Der Vertrag ändert nichts. Der");
    EXPECT_GT(text->text.size(), 40u * 1024 * 1024);
}

}  // namespace
}  // namespace korvin
