// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/xhtmlreader.h"

#include "desktop/html/htmldocument.h"
#include "xmltreedump.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace korvin {
namespace {

struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocFree>;

using xmltreedump::dumped;

DocPtr parsedAsHtml(const std::string& markup)
{
    return DocPtr(parseHtml(markup));
}

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
const std::string kDoctype = "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.1//EN\" "
                             "\"http://www.w3.org/TR/xhtml11/DTD/xhtml11.dtd\">\n";
const std::string kHtml = "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">\n";

std::string page(const std::string& head, const std::string& body)
{
    return kDecl + kDoctype + kHtml + "<head>\n  <title>T</title>\n" + head + "</head>\n<body>\n" + body +
           "\n</body>\n</html>\n";
}

struct Case {
    const char* name;
    std::string markup;
    bool read;  // false: left to the HTML parser
};

TEST(XhtmlReader, ReadsWhatItTakesAsTheHtmlParserDoesAndLeavesTheRestToIt)
{
    const std::string longStyle =
        "<style type=\"text/css\">\r\n" + std::string(2500, ' ') + "p.a > b { color: red }\r\n</style>\r\n";
    const Case cases[] = {
        {"a book's text",
         page("  <link rel=\"stylesheet\" href=\"a.css\" type=\"text/css\" />\n"
              "  <style type=\"text/css\">p { color: red }</style>\n  <script type=\"text/javascript\">var a = "
              "1;</script>\n",
              "<!-- c -->\n<h1 id=\"h1\"><a href=\"x.smil#a\">Chapter &amp; one</a></h1>\n"
              "<p id=\"p1\" title=\"a &amp; b &#233;\" class=\"x\">Text <b>bold</b> <i>it</i>&#146;s &lt;&gt; "
              "&quot;&#x2019;</p>\n"
              "<div><p>in</p><ul>\n <li>one <ul><li>inner</li></ul></li>\n</ul></div>\n"
              "<table> <tr> <td>a</td> <td><p>b</p></td> </tr> </table><dl><dt>t</dt><dd>d<dd>x</dd></dd></dl>\n"
              "<p>line<br/>break <a name=\"n\"/><span/><img src=\"i.png\" alt=\"\"/></p><pre>\n  kept\n</pre>"),
         true},
        {"another character set declared, Windows line ends, long style",
         "<?xml version='1.0'  encoding='iso-8859-1' ?>\r\n<!-- before -->\r\n<!DOCTYPE html>\r\n"
         "<html xmlns=\"http://www.w3.org/1999/xhtml\" xmlns:epub=\"http://www.idpf.org/2007/ops\">\r\n<head>" +
             longStyle +
             "</head><body><!-- a\r\nb --><p epub:type=\"x\">caf\xC3\xA9 \xD7\xA9\xD7\x9C\r\nwith</p></body></html>",
         true},
        {"a reference to a line end among Windows line ends",
         kDecl + "<html>\r\n<body><p>a&#13;&#10;b</p></body></html>", false},
        {"Windows, Unix and old Mac line ends",
         kDecl + "<html>\r\n<head><style>p {}\r\n\rb {}\n</style></head>"
                 "<body>\n<p class=\"a\"\r\n id=\"b\">a\rb<!-- \r\n -->\r\n</p>\r</body></html>\r\n",
         true},
        {"a line end in a comment beside the root", kDecl + "<!-- a\r\nb --><html><body/></html>", false},
        {"a body alone", kDecl + "<html><body><p>x</p></body></html>", true},
        {"no XML declaration", "<html><body><p>x</p></body></html>", false},
        {"not well-formed", page("", "<p>open <b>bold</p>"), false},
        {"an HTML entity", page("", "<p>a&nbsp;b</p>"), false},
        {"an HTML entity in an attribute", page("", "<p title=\"a&nbsp;b\">x</p>"), false},
        {"an internal subset",
         kDecl + "<!DOCTYPE html [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
                 "<html><body><p>&x;</p></body></html>",
         false},
        {"an internal subset after a quoted '>'",
         kDecl + "<!DOCTYPE html PUBLIC \"a>\" \"b\" [<!ENTITY x \"y\">]>"
                 "<html><body><p>x</p></body></html>",
         false},
        {"a CDATA section", page("", "<p><![CDATA[a < b]]></p>"), false},
        {"a processing instruction", kDecl + "<?xml-stylesheet href=\"a.css\"?><html><body/></html>", false},
        {"a line break in an attribute", page("", "<p title=\"a\nb\">x</p>"), false},
        {"a comment in a style", page("<style><!-- p {} --></style>", "<p>x</p>"), false},
        {"a reference in a script", page("<script>if (a &amp;&amp; b) {}</script>", "<p>x</p>"), false},
        {"a capital letter", page("", "<P>x</P>"), false},
        {"a prefixed element", page("", "<p><m:math xmlns:m=\"http://www.w3.org/1998/Math/MathML\"/></p>"), false},
        {"a namespace below the root", page("", "<svg xmlns=\"http://www.w3.org/2000/svg\"/>"), false},
        {"a namespace after an attribute",
         kDecl + "<html lang=\"en\" xmlns=\"http://www.w3.org/1999/xhtml\"><body/></html>", false},
        {"a namespace with a reference", kDecl + "<html xmlns=\"http://a/?b=1&amp;c=2\"><body/></html>", false},
        {"a paragraph in a paragraph", page("", "<p>a<p>b</p></p>"), false},
        {"a table in a paragraph", page("", "<p>a<table><tr><td>b</td></tr></table></p>"), false},
        {"a heading in a heading, kept there", page("", "<h1>a<h2>b</h2></h1>"), true},
        {"a form in a heading", page("", "<h1>a<form>b</form></h1>"), false},
        {"a link in a link", page("", "<p><a href=\"a\">a<a href=\"b\">b</a></a></p>"), false},
        {"text outside the body", kDecl + "<html>text<body/></html>", false},
        {"an element beside the body", kDecl + "<html><body/><div/></html>", false},
        {"a body within the body", page("", "<div><body><p>x</p></body></div>"), false},
        {"a body before the head", kDecl + "<html><body/><head/></html>", false},
        {"content in a line break", page("", "<p><br>x</br></p>"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DocPtr read(XhtmlReader::read(c.markup));
        EXPECT_EQ(read != nullptr, c.read);
        const DocPtr html = parsedAsHtml(c.markup);
        if (read && html) {
            EXPECT_EQ(dumped(read.get()), dumped(html.get()));
        }
    }
}

}  // namespace
}  // namespace korvin
