// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/dtbookdocument.h"

#include "desktop/html/htmldocument.h"
#include "desktop/html/htmlnode.h"
#include "desktop/html/htmlstyler.h"
#include "desktop/html/htmlstylesheet.h"
#include "desktop/html/htmltextdocuments.h"

#include <gtest/gtest.h>

#include <string>

#include "support/tempdir.h"

namespace korvin {
namespace {

const std::string kProlog =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE dtbook PUBLIC \"-//NISO//DTD dtbook 2005-3//EN\" "
    "\"http://www.daisy.org/z3986/2005/dtbook-2005-3.dtd\">\n";

// A DTBook whose bodymatter holds `body`.
std::string dtbook(const std::string& body, const std::string& prolog = kProlog)
{
    return prolog
           + "<dtbook xmlns=\"http://www.daisy.org/z3986/2005/dtbook/\" version=\"2005-3\"><head><meta "
             "name=\"dtb:uid\" content=\"x\"/></head><book><bodymatter>"
           + body + "</bodymatter></book></dtbook>";
}

// The markup of what the bodymatter became.
std::string shown(const std::string& body)
{
    const HtmlDocument document = HtmlDocument::fromBytes(dtbook(body));
    const xmlNode* matter = document.body()->children;
    EXPECT_TRUE(document.isDtbook());
    return document.innerHtml(matter);
}

TEST(DtbookDocument, RecognizesADtbookByItsFirstElementAlone)
{
    const struct {
        const char* bytes;
        bool dtbook;
    } cases[] = {
        {"<dtbook>", true},
        {"\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<!-- a <dtbook> comment -->\n<dtbook xmlns=\"x\">", true},
        {"<!DOCTYPE dtbook [ <!ENTITY a \"]>\"> ]><?xml-stylesheet href=\"a.css\"?><dtb:dtbook/>", true},
        {"<html><body><dtbook>", false},
        {"<!DOCTYPE html><html>", false},
        {"<dtbookish>", false},
        {"text <dtbook>", false},
        {"<?xml version=\"1.0\"", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DtbookDocument::recognizes(c.bytes), c.dtbook) << c.bytes;

    // In UTF-16 of either order, read by the XML parser as such.
    const std::string text = "<?xml version=\"1.0\" encoding=\"UTF-16\"?><dtbook><book><p id=\"a\">x</p></book></dtbook>";
    for (const bool little : {true, false}) {
        std::string utf16 = little ? "\xFF\xFE" : "\xFE\xFF";
        for (const char c : text)
            utf16 += little ? std::string{c, '\0'} : std::string{'\0', c};
        EXPECT_TRUE(DtbookDocument::recognizes(utf16)) << little;
        const HtmlDocument document = HtmlDocument::fromBytes(utf16);
        EXPECT_EQ(document.outerHtml(document.elementById("a")), "<P id=\"a\">x</P>") << little;
    }
    EXPECT_FALSE(HtmlDocument::fromBytes("<html><body><p>x</p></body></html>").isDtbook());
}

TEST(DtbookDocument, ShowsEachKindOfElementAsTheHtmlTheViewKnows)
{
    const struct {
        const char* name;
        std::string dtbook;
        std::string html;
    } cases[] = {
        {"levels and their headings by depth",
         "<level1 id=\"l1\"><h1>A</h1><level2><hd id=\"h\">B</hd><level><hd>C</hd></level></level2></level1>"
         "<level><hd>D</hd><level><level><hd>E</hd></level></level></level>",
         "<DIV id=\"l1\" class=\"level1\"><H1>A</H1><DIV class=\"level2\"><H2 id=\"h\" class=\"hd\">B</H2>"
         "<DIV class=\"level\"><H3 class=\"hd\">C</H3></DIV></DIV></DIV><DIV class=\"level\"><H1 class=\"hd\">D</H1>"
         "<DIV class=\"level\"><DIV class=\"level\"><H3 class=\"hd\">E</H3></DIV></DIV></DIV>"},
        {"a heading outside a level and a bridgehead",
         "<sidebar><hd>S</hd></sidebar><bridgehead>B</bridgehead>",
         "<DIV class=\"sidebar\"><P class=\"hd\">S</P></DIV><P class=\"bridgehead\">B</P>"},
        {"lists of each type, with numbering and content",
         "<list type=\"ol\" enum=\"a\" start=\"3\"><li><lic>one</lic> <lic>1</lic></li></list>"
         "<list type=\"ul\"><li>two</li></list><list type=\"pl\" style=\"color: red\"><li>three</li></list>",
         "<OL start=\"3\" type=\"a\" class=\"list\"><LI><SPAN class=\"lic\">one</SPAN> <SPAN class=\"lic\">1</SPAN>"
         "</LI></OL><UL class=\"list\"><LI>two</LI></UL>"
         "<UL style=\"list-style-type: none; color: red\" class=\"list\"><LI>three</LI></UL>"},
        {"definitions and tables keep their names",
         "<dl><dt>T</dt><dd>D</dd></dl><table><caption>C</caption><thead><tr><th>H</th></tr></thead>"
         "<tbody><tr><td id=\"c\">1</td></tr></tbody></table>",
         "<DL><DT>T</DT><DD>D</DD></DL><TABLE><CAPTION>C</CAPTION><THEAD><TR><TH>H</TH></TR></THEAD>"
         "<TBODY><TR><TD id=\"c\">1</TD></TR></TBODY></TABLE>"},
        {"an image with its alt text, its group and caption",
         "<imggroup id=\"g\"><img id=\"i\" src=\"a.jpg\" alt=\"A tree\"/><img src=\"b.jpg\" alt=\"\"/>"
         "<caption>Fig. 1</caption></imggroup>",
         "<DIV id=\"g\" class=\"imggroup\"><SPAN id=\"i\"><IMG src=\"a.jpg\" alt=\"A tree\">A tree</SPAN>"
         "<IMG src=\"b.jpg\" alt=\"\"><P class=\"caption\">Fig. 1</P></DIV>"},
        {"page numbers among blocks and in running text",
         "<pagenum id=\"p1\" page=\"normal\">1</pagenum><p>a <pagenum id=\"p2\">2</pagenum> b</p>"
         "<list><li><pagenum>3</pagenum></li></list>",
         "<DIV id=\"p1\" page=\"normal\" class=\"pagenum\">1</DIV><P>a <SPAN id=\"p2\" class=\"pagenum\">2</SPAN> b"
         "</P><UL class=\"list\"><LI><DIV class=\"pagenum\">3</DIV></LI></UL>"},
        {"notes, annotations and the references to them",
         "<p>x<noteref idref=\"#n1\">1</noteref> y<annoref idref=\"a1\">*</annoref></p>"
         "<note id=\"n1\"><p>N</p></note><annotation id=\"a1\">A</annotation>",
         "<P>x<A href=\"#n1\" class=\"noteref\">1</A> y<A href=\"#a1\" class=\"annoref\">*</A></P>"
         "<DIV id=\"n1\" class=\"note\"><P>N</P></DIV><DIV id=\"a1\" class=\"annotation\">A</DIV>"},
        {"sidebars and producer notes, as blocks and inline",
         "<sidebar render=\"optional\"><p>S</p></sidebar><prodnote>P</prodnote><p>a <prodnote>q</prodnote></p>",
         "<DIV render=\"optional\" class=\"sidebar\"><P>S</P></DIV><DIV class=\"prodnote\">P</DIV>"
         "<P>a <SPAN class=\"prodnote\">q</SPAN></P>"},
        {"emphasis, sentences, words and links",
         "<p><em>e</em><strong>s</strong>H<sub>2</sub>O x<sup>2</sup><span class=\"k\">k</span>"
         "<sent id=\"s\"><w>w</w></sent><a href=\"http://x/\">l</a><br/></p>",
         "<P><EM>e</EM><STRONG>s</STRONG>H<SUB>2</SUB>O x<SUP>2</SUP><SPAN class=\"k\">k</SPAN>"
         "<SPAN id=\"s\" class=\"sent\"><SPAN class=\"w\">w</SPAN></SPAN><A href=\"http://x/\">l</A><BR></P>"},
        {"poems, line groups and lines; quotations",
         "<poem><linegroup><line><linenum>1</linenum>Roses</line></linegroup></poem>"
         "<blockquote><p>Q</p></blockquote><epigraph>E</epigraph>",
         "<DIV class=\"poem\"><DIV class=\"linegroup\"><DIV class=\"line\"><SPAN class=\"linenum\">1</SPAN>Roses"
         "</DIV></DIV></DIV><BLOCKQUOTE><P>Q</P></BLOCKQUOTE><BLOCKQUOTE class=\"epigraph\">E</BLOCKQUOTE>"},
        {"titles and authors, as blocks and in a citation",
         "<doctitle>T</doctitle><docauthor>A</docauthor><p><cite><title>B</title> by <author>C</author></cite></p>",
         "<P class=\"doctitle\">T</P><P class=\"docauthor\">A</P>"
         "<P><CITE><SPAN class=\"title\">B</SPAN> by <SPAN class=\"author\">C</SPAN></CITE></P>"},
        {"prefixes, xml:lang, SMIL references and an own class",
         "<d:p xmlns:d=\"http://www.daisy.org/z3986/2005/dtbook/\" xml:lang=\"de\" smilref=\"a.smil#1\">x</d:p>"
         "<sent class=\"a\" smilref=\"a.smil#2\">y</sent>",
         "<P lang=\"de\">x</P><SPAN class=\"sent a\">y</SPAN>"},
        {"CDATA, comments and characters",
         "<p><![CDATA[a < b]]><!-- c -->&amp;&#228;</p>",
         "<P>a &lt; b<!-- c -->&amp;\xC3\xA4</P>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shown(c.dtbook), c.html) << c.name;
}

// A book is a stranger's file: nothing it names outside itself is read, no
// entity it declares is expanded, and what is broken shows as far as it goes.
TEST(DtbookDocument, RefusesWhatAHostileBookAsksFor)
{
    test::TempDir folder;
    const std::string secret = folder.write("secret.txt", "SECRET").string();
    const std::string dtd =
        folder.write("evil.dtd", "<!ENTITY fromdtd \"DTDTEXT\"><!ATTLIST p class CDATA \"DEFAULTED\">").string();
    std::string laughs = "<!ENTITY l0 \"ha\">";
    for (int i = 1; i < 12; ++i) {
        const std::string previous = "&l" + std::to_string(i - 1) + ";";
        laughs += "<!ENTITY l" + std::to_string(i) + " \"" + previous + previous + previous + previous + previous
                  + previous + previous + previous + previous + previous + "\">";
    }
    std::string deep;
    for (int i = 0; i < 5000; ++i)
        deep += "<span>";
    const struct {
        const char* name;
        std::string bytes;
        std::string text;
    } cases[] = {
        {"an external entity naming a file",
         dtbook("<p>a&x;b</p>", "<!DOCTYPE dtbook [<!ENTITY x SYSTEM \"file://" + secret + "\">]>"), "ab"},
        {"an external entity on the network",
         dtbook("<p>a&x;b</p>", "<!DOCTYPE dtbook [<!ENTITY x SYSTEM \"http://127.0.0.1:9/x\">]>"), "ab"},
        {"an external DTD with entities and defaults",
         dtbook("<p>a&fromdtd;b</p>", "<!DOCTYPE dtbook SYSTEM \"" + dtd + "\">"), "ab"},
        {"a parameter entity pulling in a file",
         dtbook("<p>ab</p>", "<!DOCTYPE dtbook [<!ENTITY % p SYSTEM \"" + dtd + "\"> %p;]>"), "ab"},
        {"a billion laughs", dtbook("<p>a&l11;b</p>", "<!DOCTYPE dtbook [" + laughs + "]>"), "ab"},
        {"nesting deeper than the parser goes", dtbook("<p>ab" + deep + "deep</p>"), "ab"},
        {"a file that breaks off", dtbook("<p>ab</p>").substr(0, dtbook("<p>ab</p>").find("</p>")), "ab"},
    };
    for (const auto& c : cases) {
        const HtmlDocument document = HtmlDocument::fromBytes(c.bytes);
        const std::string markup = document.outerHtml(document.root());
        EXPECT_TRUE(document.isDtbook()) << c.name;
        EXPECT_NE(markup.find("<P>" + c.text), std::string::npos) << c.name << ": " << markup.substr(0, 400);
        for (const char* leaked : {"SECRET", "DTDTEXT", "DEFAULTED", "haha"})
            EXPECT_EQ(markup.find(leaked), std::string::npos) << c.name << ": " << leaked;
    }
    // A file larger than any text document is not read at all.
    const std::string huge = dtbook("<p>" + std::string(HtmlDocument::kMaxFileBytes, 'x') + "</p>");
    EXPECT_FALSE(HtmlDocument::load(folder.write("huge.xml", huge)));
    EXPECT_FALSE(HtmlTextDocuments().read(folder.folder() + "huge.xml"));
}

TEST(DtbookDocument, AppliesTheBooksStyleSheetWrittenInDtbookNames)
{
    test::TempDir folder;
    folder.write("css/book.css",
                 "sidebar { color: #ff0000 } level1 pagenum { font-weight: bold } p.x, list { font-style: italic }"
                 " prodnote { display: none } pagenum { display: inline } level1 > pagenum { display: block }");
    const HtmlDocument document = HtmlDocument::fromBytes(
        dtbook("<level1><pagenum id=\"pg\">1</pagenum><sidebar id=\"sb\"><p id=\"p\" class=\"x\">s</p></sidebar>"
               "<list id=\"l\"><li>i</li></list><prodnote id=\"pn\">n</prodnote><doctitle id=\"t\">T</doctitle>"
               "<p>a <pagenum id=\"pi\">2</pagenum> b</p>"
               "</level1>",
               kProlog + "<?xml-stylesheet type=\"text/css\" href=\"css/book.css\"?>"
                         "<?xml-stylesheet type=\"text/xsl\" href=\"css/other.css\"?>"));
    HtmlStyleSheet sheet;
    sheet.addDocumentSheets(document, folder.path());
    const HtmlStyler styler(sheet);
    const auto style = [&](const char* id) { return styler.computeFromRoot(document.elementById(id)); };
    EXPECT_EQ(style("sb").color, 0xff0000u);
    EXPECT_TRUE(style("pg").bold);
    // Only a page number that is a level's own child stands as a block.
    EXPECT_EQ(style("pg").display, HtmlDisplay::Block);
    EXPECT_EQ(style("pi").display, HtmlDisplay::Inline);
    EXPECT_TRUE(style("p").italic);
    EXPECT_TRUE(style("l").italic);
    EXPECT_EQ(style("pn").display, HtmlDisplay::None);
    // The defaults of the view's own for a DTBook.
    EXPECT_TRUE(style("t").bold);
    EXPECT_EQ(style("t").align, HtmlAlign::Center);

    // An HTML document's sheet knows nothing of DTBook names.
    const HtmlDocument html = HtmlDocument::fromUtf8("<html><body><div id=\"d\" class=\"sidebar\">x</div></body></html>");
    HtmlStyleSheet htmlSheet;
    htmlSheet.addRules("sidebar { color: #ff0000 }");
    htmlSheet.addDocumentSheets(html, folder.path());
    EXPECT_FALSE(HtmlStyler(htmlSheet).computeFromRoot(html.elementById("d")).color);
}

TEST(DtbookDocument, TakesTheSheetsOfThePackageFileWhenItNamesNoneItself)
{
    test::TempDir folder;
    folder.write("book.opf", "<package><manifest><item id=\"c\" href=\"css/p.css\" media-type=\"text/css\"/>"
                             "</manifest></package>");
    folder.write("css/p.css", "sidebar { color: #00ff00 }");
    folder.write("own.css", "p { font-style: italic }");
    const struct {
        const char* name;
        std::string prolog;
        bool packageSheet;
    } cases[] = {
        {"a DTBook that names no sheet", kProlog, true},
        {"a DTBook with a sheet of its own", kProlog + "<?xml-stylesheet href=\"own.css\"?>", false},
    };
    for (const auto& c : cases) {
        const HtmlDocument document = HtmlDocument::fromBytes(dtbook("<sidebar id=\"sb\">s</sidebar>", c.prolog));
        HtmlStyleSheet sheet;
        sheet.addDocumentSheets(document, folder.path());
        EXPECT_EQ(HtmlStyler(sheet).computeFromRoot(document.elementById("sb")).color.has_value(), c.packageSheet)
            << c.name;
    }
}

TEST(DtbookDocument, TheSearchReadsTheTextAsTheViewShowsIt)
{
    test::TempDir folder;
    const std::string path =
        folder
            .write("book.xml",
                   dtbook("<level1><h1 id=\"h\">Kapitel</h1><p id=\"p\"><sent id=\"s\">Der Vertrag</sent> "
                          "gilt.</p><list><li>eins</li><li>zwei</li></list><pagenum id=\"pg\">7</pagenum>"
                          "<imggroup><img id=\"i\" src=\"x.png\" alt=\"Ein Baum\"/></imggroup></level1>",
                          kProlog + "<?xml-stylesheet href=\"b.css\"?>"))
            .string();
    const std::optional<DocumentText> text = HtmlTextDocuments().read(path);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->text, "Kapitel\nDer Vertrag gilt.\neins\nzwei\n7\nEin Baum");
    std::string anchors;
    for (const DocumentText::Anchor& anchor : text->anchors)
        anchors += anchor.id + "@" + std::to_string(anchor.offset) + " ";
    EXPECT_EQ(anchors, "h@0 p@8 s@8 pg@36 i@38 ");
}

}  // namespace
}  // namespace korvin
