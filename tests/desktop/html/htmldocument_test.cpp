// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmldocument.h"

#include "desktop/html/htmlnode.h"
#include "support/tempdir.h"
#include "support/sourcepaths.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace korvin {
namespace {

const std::string kBold = "<SPAN style=\"FONT-WEIGHT: bold\">";
const std::string kTermBackground = "<span style=\"BACKGROUND-COLOR: #ff8000\">";
const std::string kClose = "</SPAN>";

std::string textOf(const xmlNode* node)
{
    xmlChar* content = xmlNodeGetContent(node);
    std::string text = content ? reinterpret_cast<const char*>(content) : "";
    xmlFree(content);
    return text;
}

// Lower case as the program makes it: ASCII letters and the two-byte Latin-1
// capitals, keeping the length.
std::string lowered(std::string text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 'A' && byte <= 'Z') {
            text[i] = static_cast<char>(byte + 32);
        } else if (byte == 0xC3 && i + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97)
                text[i + 1] = static_cast<char>(next + 32);
            ++i;
        }
    }
    return text;
}

// A highlight around an element's content, and its removal by exact text.
void highlight(HtmlDocument& doc, const std::string& id, const std::string& open)
{
    xmlNode* element = doc.elementById(id);
    ASSERT_NE(element, nullptr);
    doc.setInnerHtml(element, open + doc.innerHtml(element) + kClose);
}

void removeHighlight(HtmlDocument& doc, const std::string& id, const std::string& open)
{
    xmlNode* element = doc.elementById(id);
    ASSERT_NE(element, nullptr);
    std::string markup = doc.innerHtml(element);
    const std::size_t at = markup.find(open);
    if (at != std::string::npos) {
        markup.erase(at, open.size());
        const std::size_t close = markup.rfind(kClose);
        if (close != std::string::npos && close >= at)
            markup.erase(close, kClose.size());
    }
    doc.setInnerHtml(element, markup);
}

// The highlighter's term marking: the body's outer markup, marked, set as
// the body's content.
void markTerm(HtmlDocument& doc, const std::string& term, const std::string& open)
{
    std::string markup = doc.outerHtml(doc.body());
    std::string lower = lowered(markup);
    for (std::size_t at = lower.find(term, 1); at != std::string::npos; at = lower.find(term, at)) {
        markup.insert(at, open);
        lower.insert(at, open);
        const std::size_t close = at + open.size() + term.size();
        markup.insert(close, kClose);
        lower.insert(close, kClose);
        at = close + 8;
        if (at >= lower.size())
            break;
    }
    doc.setInnerHtml(doc.body(), markup);
}

// Its removal: by length and position in the lower-cased content.
void unmarkTerm(HtmlDocument& doc, const std::string& term, const std::string& open)
{
    std::string markup = doc.innerHtml(doc.body());
    std::string lower = lowered(markup);
    for (std::size_t at = lower.find(term, 1); at != std::string::npos; at = lower.find(term, at)) {
        std::size_t k = at - open.size();
        markup.erase(k, open.size());
        lower.erase(k, open.size());
        k += term.size();
        markup.erase(k, kClose.size());
        lower.erase(k, kClose.size());
        at = k + 8;
        if (at >= lower.size())
            break;
    }
    doc.setInnerHtml(doc.body(), markup);
}

// Whether every occurrence of `term` in the lower-cased markup stands in text,
// not inside a tag.
bool occursOnlyInText(const std::string& markup, const std::string& term)
{
    const std::string lower = lowered(markup);
    bool found = false;
    for (std::size_t at = lower.find(term); at != std::string::npos; at = lower.find(term, at + 1)) {
        const std::size_t open = lower.rfind('<', at);
        const std::size_t close = lower.rfind('>', at);
        if (open != std::string::npos && (close == std::string::npos || close < open))
            return false;
        if (lower.substr(at, term.size()).find_first_of("<>&") != std::string::npos)
            return false;
        found = true;
    }
    return found;
}

std::vector<std::string> idsOf(const HtmlDocument& doc)
{
    std::vector<std::string> ids;
    for (xmlNode* node = doc.root(); node; node = HtmlNode::next(doc.root(), node)) {
        const std::string_view id = HtmlNode::attribute(node, "id");
        if (!id.empty() && doc.elementById(id) == node)
            ids.emplace_back(id);
    }
    return ids;
}

// Documents shaped like the text files of real books.
const char* const kXhtmlBook =
    "<?xml version='1.0' encoding='utf-8'?>\n"
    "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
    "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\" >\n"
    "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">\r\n"
    "<head><meta http-equiv=\"Content-Type\" content=\"application/xhtml+xml; charset=utf-8\" />\r\n"
    "<title>Book</title><link rel=\"stylesheet\" type=\"text/css\" href=\"default.css\" /></head>\r\n"
    "<body>\r\n"
    "\t<h1 class=\"title\" id=\"h1\"><a href=\"s1.smil#t1\">Don't Worry &amp; Co</a></h1>\r\n"
    "\t<div class=\"level1\"><p><span class=\"sentence\" id=\"dtb3\">\r\n"
    "\t\t<a href=\"s1.smil#t3\">From the Movie \"Cocktails\" &lt;1988&gt;.</a>\r\n"
    "\t</span> <span id=\"dtb4\"><a href=\"s1.smil#t4\">Caf\xC3\xA9 &#8211; na\xC3\xAFve</a></span></p>\r\n"
    "\t<p id=\"p5\">Line one<br />line two <img src=\"x.png\" alt=\"A &quot;picture&quot;\" /></p>\r\n"
    "\t<table id=\"t\"><tr id=\"r1\"><td id=\"c1\">Cell <strong>bold</strong></td><td>2</td></tr></table>\r\n"
    "\t</div>\r\n"
    "</body>\r\n</html>\r\n";

const char* const kHtml4Book =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\n"
    "<HTML><HEAD><TITLE>Old</TITLE>\n"
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1252\">\n"
    "<STYLE TYPE=\"text/css\">P.x { color: red }</STYLE></HEAD>\n"
    "<BODY BGCOLOR=#FFFFFF>\n"
    "<H2 ID=h2><A NAME=top></A>Chapter&nbsp;1</H2>\n"
    "<P ID=p1 CLASS=x ALIGN=center>First <B>bold</B> and <I>italic</I>.\n"
    "<P ID=p2>Second paragraph, never closed\n"
    "<UL><LI ID=li1>One<LI ID=li2>Two</UL>\n"
    "<TABLE BORDER=1><TR><TD ID=td1 NOWRAP>cell<TD>cell two</TABLE>\n"
    "</BODY></HTML>\n";

const char* const kLatin1Book =
    "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\"></head>\n"
    "<body><p id=\"a\">Gr\xFC\xDF" "e aus K\xF6ln &auml;&ouml;&uuml; &eacute;t\xE9 &copy; 2001 \x93quoted\x94</p>\n"
    "<p id=\"b\">&#252;ber &lt;tags&gt; &amp; &unknown; 5 &gt; 3</p></body></html>\n";

const char* const kTagSoup =
    "<html><body>\n"
    "<p id=s1>Open paragraph <b>bold <i>both</b> italic?</i>\n"
    "<div id=s2><p>in div<div>nested div</p></div>\n"
    "<span id=s3><p>block in span</p></span>\n"
    "<font color=red id=s4>old <u>font</font> tail\n"
    "<a href=\"x.html\" id=s5>unclosed link\n"
    "<p id=s6>after & bare ampersand < and stray </em> end\n"
    "<td id=s7>orphan cell</td>\n"
    "<!-- a comment --><script>if (a < b) x();</script>\n"
    "<p id=s8></p><p id=s9>   spaced   out   </p>\n";

const std::vector<const char*> kBuiltBooks = {kXhtmlBook, kHtml4Book, kLatin1Book, kTagSoup};

std::vector<HtmlDocument> allBooks()
{
    std::vector<HtmlDocument> books;
    for (const char* markup : kBuiltBooks)
        books.push_back(HtmlDocument::fromBytes(markup));
    const std::filesystem::path shared = korvin::test::sharedBooksDir();
    for (const char* file : {"dontworrybehappy/content.html", "unicef-toolkit-a/toolkit_a.html"}) {
        if (auto doc = HtmlDocument::load(shared / file))
            books.push_back(std::move(*doc));
    }
    return books;
}

// The checks over every book read the sample books of ../shared/books too when
// they are there; without them those checks see the built books alone.
TEST(HtmlDocument, TheSampleBooksJoinTheChecksOverEveryBook)
{
    if (!std::filesystem::exists(korvin::test::sharedBooksDir()))
        GTEST_SKIP() << "the sample books of ../shared/books are not here";
    EXPECT_EQ(allBooks().size(), kBuiltBooks.size() + 2);  // both read
}

TEST(HtmlDocument, FindsElementsById)
{
    const HtmlDocument doc = HtmlDocument::fromBytes(kXhtmlBook);
    ASSERT_NE(doc.elementById("dtb4"), nullptr);
    EXPECT_EQ(HtmlNode::name(doc.elementById("dtb4")), "span");
    EXPECT_EQ(HtmlNode::name(doc.elementById("r1")), "tr");
    EXPECT_EQ(doc.elementById("DTB4"), nullptr);
    EXPECT_EQ(doc.elementById(""), nullptr);
    EXPECT_EQ(doc.elementById("nothing"), nullptr);

    const HtmlDocument old = HtmlDocument::fromBytes(kHtml4Book);
    EXPECT_EQ(HtmlNode::name(old.elementById("p2")), "p");
    EXPECT_EQ(textOf(old.elementById("li2")), "Two");
}

TEST(HtmlDocument, KeepsTheIdMapUpToDateAfterEdits)
{
    HtmlDocument doc = HtmlDocument::fromBytes(kXhtmlBook);
    xmlNode* paragraph = doc.elementById("p5");
    doc.setInnerHtml(doc.elementById("c1"), "<SPAN id=\"new\">n</SPAN><B id=\"p5\">dup</B>");
    EXPECT_EQ(textOf(doc.elementById("new")), "n");
    EXPECT_EQ(doc.elementById("p5"), paragraph);  // the first in document order wins

    std::vector<const xmlNode*> removed;
    doc.setInnerHtml(doc.elementById("div") ? doc.elementById("div") : doc.body(), "<P id=\"only\">x</P>",
                     [&](const xmlNode* node) { removed.push_back(node); });
    EXPECT_EQ(doc.elementById("new"), nullptr);
    EXPECT_EQ(doc.elementById("p5"), nullptr);
    EXPECT_EQ(doc.elementById("h1"), nullptr);
    EXPECT_NE(doc.elementById("only"), nullptr);
    EXPECT_FALSE(removed.empty());
    EXPECT_EQ(doc.idCount(), 1u);
}

TEST(HtmlDocument, WritesMarkupInTheFixedForm)
{
    const HtmlDocument doc = HtmlDocument::fromBytes(kXhtmlBook);
    EXPECT_EQ(doc.innerHtml(doc.elementById("h1")),
              "<A href=\"s1.smil#t1\">Don't Worry &amp; Co</A>");
    EXPECT_EQ(doc.outerHtml(doc.elementById("p5")),
              "<P id=\"p5\">Line one<BR>line two <IMG src=\"x.png\" alt=\"A &quot;picture&quot;\"></P>");
    EXPECT_EQ(doc.innerHtml(doc.elementById("dtb4")),
              "<A href=\"s1.smil#t4\">Caf\u00E9 \u2013 na\u00EFve</A>");

    const HtmlDocument old = HtmlDocument::fromBytes(kHtml4Book);
    EXPECT_EQ(doc.outerHtml(nullptr), "");
    EXPECT_EQ(old.outerHtml(old.elementById("h2")), "<H2 id=\"h2\"><A name=\"top\"></A>Chapter\u00A01</H2>");
    EXPECT_EQ(old.innerHtml(old.elementById("p1")),
              "First <B>bold</B> and <I>italic</I>.\n");

    const HtmlDocument latin = HtmlDocument::fromBytes(kLatin1Book);
    EXPECT_EQ(latin.innerHtml(latin.elementById("a")),
              "Gr\u00FC\u00DFe aus K\u00F6ln \u00E4\u00F6\u00FC \u00E9t\u00E9 \u00A9 2001 \u201Cquoted\u201D");
    EXPECT_EQ(latin.innerHtml(latin.elementById("b")), "\u00FCber &lt;tags&gt; &amp; &amp;unknown; 5 &gt; 3");
}

TEST(HtmlDocument, FixedFormReadsBackUnchanged)
{
    for (HtmlDocument& doc : allBooks()) {
        const std::string body = doc.innerHtml(doc.body());
        HtmlDocument reparsed = HtmlDocument::fromUtf8("<html><body>" + body + "</body></html>");
        EXPECT_EQ(reparsed.innerHtml(reparsed.body()), body);
        // Set as content, parsed and read without the kept text: the same.
        doc.setInnerHtml(doc.body(), body);
        xmlNode* first = doc.body()->children;
        while (first && !HtmlNode::isElement(first))
            first = first->next;
        if (first) {
            doc.setInnerHtml(first, doc.innerHtml(first));  // drops the body's kept text
            EXPECT_EQ(doc.keptMarkup(doc.body()), nullptr);
            EXPECT_EQ(doc.innerHtml(doc.body()), body);
        }
    }
}

TEST(HtmlDocument, ReadsBackSetMarkupExactly)
{
    HtmlDocument doc = HtmlDocument::fromBytes(kHtml4Book);
    const std::string markup = "<span style='color:red'>x</span><b>unclosed &eacute; <BR/>";
    xmlNode* element = doc.elementById("p1");
    ASSERT_TRUE(doc.setInnerHtml(element, markup));
    EXPECT_EQ(doc.innerHtml(element), markup);
    EXPECT_EQ(doc.outerHtml(element), "<P id=\"p1\" class=\"x\" align=\"center\">" + markup + "</P>");
    // Ancestors show the kept text where the element stands.
    EXPECT_NE(doc.innerHtml(doc.body()).find("<P id=\"p1\" class=\"x\" align=\"center\">" + markup + "</P>"),
              std::string::npos);
    EXPECT_EQ(textOf(element), "xunclosed \u00E9 ");
    // A change inside the element drops its kept text.
    doc.setInnerHtml(element->children, "y");
    EXPECT_EQ(doc.keptMarkup(element), nullptr);
    EXPECT_EQ(doc.innerHtml(element), "<SPAN style=\"color:red\">y</SPAN><B>unclosed \u00E9 <BR></B>");
}

TEST(HtmlDocument, WrappingAndUnwrappingRestoresEveryElementExactly)
{
    for (HtmlDocument& doc : allBooks()) {
        const std::string before = doc.innerHtml(doc.body());
        std::string previous;
        for (const std::string& id : idsOf(doc)) {
            if (HtmlNode::isVoid(doc.elementById(id)) || !HtmlNode::contains(doc.body(), doc.elementById(id)))
                continue;
            if (!previous.empty())
                removeHighlight(doc, previous, kBold);
            const std::string old = doc.innerHtml(doc.elementById(id));
            highlight(doc, id, kBold);
            EXPECT_EQ(doc.innerHtml(doc.elementById(id)), kBold + old + kClose) << id;
            previous = id;
        }
        if (!previous.empty())
            removeHighlight(doc, previous, kBold);
        EXPECT_EQ(doc.innerHtml(doc.body()), before);
    }
}

TEST(HtmlDocument, BodyOuterMarkupSetAsContentDoesNotNestABody)
{
    HtmlDocument doc = HtmlDocument::fromBytes(kHtml4Book);
    const std::string outer = doc.outerHtml(doc.body());
    ASSERT_EQ(outer.rfind("<BODY bgcolor=\"#FFFFFF\">", 0), 0u);
    doc.setInnerHtml(doc.body(), outer);
    for (xmlNode* node = doc.body()->children; node; node = HtmlNode::next(doc.body(), node))
        EXPECT_NE(HtmlNode::name(node), "body");
    EXPECT_EQ(doc.outerHtml(doc.body()), outer);
    EXPECT_EQ(HtmlNode::attribute(doc.body(), "bgcolor"), "#FFFFFF");
}

TEST(HtmlDocument, TermMarkingAndItsRemovalLeaveTheTextIntact)
{
    for (HtmlDocument& doc : allBooks()) {
        const std::string text = textOf(doc.body());
        const std::string markup = doc.innerHtml(doc.body());
        for (const std::string term : {"worry", "caf\u00E9", "the", "cell", "gr\u00FC\u00DF", "spaced",
                                       "accessib"}) {
            if (!occursOnlyInText(doc.outerHtml(doc.body()), term))
                continue;
            markTerm(doc, term, kTermBackground);
            EXPECT_EQ(textOf(doc.body()), text);
            // A highlight moving inside the body in between drops the body's
            // kept text; the marks still read back with their lengths.
            const std::vector<std::string> ids = idsOf(doc);
            if (!ids.empty() && HtmlNode::contains(doc.body(), doc.elementById(ids.back()))
                && !HtmlNode::isVoid(doc.elementById(ids.back()))) {
                highlight(doc, ids.back(), kBold);
                removeHighlight(doc, ids.back(), kBold);
            }
            unmarkTerm(doc, term, kTermBackground);
            EXPECT_EQ(textOf(doc.body()), text) << term;
            EXPECT_EQ(doc.innerHtml(doc.body()), markup) << term;
        }
    }
}

TEST(HtmlDocument, TermsFoundInsideTagsComeOutAgainWhenNothingChangedBetween)
{
    for (HtmlDocument& doc : allBooks()) {
        const std::string markup = doc.innerHtml(doc.body());
        for (const std::string term : {"id", "body", "href", "div", "class", "h1", "i"}) {
            markTerm(doc, term, kTermBackground);
            unmarkTerm(doc, term, kTermBackground);
            EXPECT_EQ(doc.innerHtml(doc.body()), markup) << term;
        }
    }
}

TEST(HtmlDocument, RefusesContentForVoidElements)
{
    HtmlDocument doc = HtmlDocument::fromUtf8("<p>a<br id=b>c<img id=i src=x></p>");
    EXPECT_FALSE(doc.setInnerHtml(doc.elementById("b"), "x"));
    EXPECT_FALSE(doc.setInnerHtml(doc.elementById("i"), "x"));
    EXPECT_FALSE(doc.setInnerHtml(nullptr, "x"));
    EXPECT_EQ(doc.innerHtml(doc.body()), "<P>a<BR id=\"b\">c<IMG id=\"i\" src=\"x\"></P>");
}

TEST(HtmlDocument, AlwaysHasABody)
{
    for (const char* markup : {"", "   ", "<html><head><title>t</title></head></html>",
                               "<frameset><frame src=a.html></frameset>", "just text", "\0\0"}) {
        const HtmlDocument doc = HtmlDocument::fromUtf8(markup);
        ASSERT_NE(doc.body(), nullptr) << markup;
        EXPECT_EQ(HtmlNode::name(doc.body()), "body");
        EXPECT_EQ(doc.body()->parent, doc.root());
    }
    EXPECT_EQ(textOf(HtmlDocument::fromUtf8("just text").body()), "just text");
}

TEST(HtmlDocument, LoadsFilesAndReportsMissingOnes)
{
    test::TempDir dir;
    dir.write("latin.html", kLatin1Book);
    const auto doc = HtmlDocument::load(dir.path() / "latin.html");
    ASSERT_TRUE(doc.has_value());
    EXPECT_EQ(textOf(doc->elementById("b")), "\u00FCber <tags> & &unknown; 5 > 3");
    EXPECT_FALSE(HtmlDocument::load(dir.path() / "missing.html").has_value());
    EXPECT_FALSE(HtmlDocument::load(dir.path()).has_value());
}

// Whether every visible text below `element` lies inside a span carrying `style`
// within it, and no span stands where a row, table or list allows none. The
// nodes are checked, not the markup read back (which is the markup as set), and
// against a list of its own, so that a holder the wrapper forgets shows.
bool everyTextMarked(const xmlNode* element, std::string_view style)
{
    static const std::set<std::string_view> kHolders = {"table", "thead", "tbody", "tfoot", "tr",
                                                        "ul",    "ol",    "dir",   "menu",  "dl"};
    for (const xmlNode* node = element->children; node; node = HtmlNode::next(element, node)) {
        if (HtmlNode::name(node) == "span" && kHolders.count(HtmlNode::name(node->parent)) != 0)
            return false;
        if (node->type != XML_TEXT_NODE || textOf(node).find_first_not_of(" \n") == std::string::npos)
            continue;
        bool marked = false;
        for (const xmlNode* up = node->parent; up != element && !marked; up = up->parent)
            marked = HtmlNode::name(up) == "span" && HtmlNode::attribute(up, "style") == style;
        if (!marked)
            return false;
    }
    return true;
}

TEST(HtmlDocument, AHighlightOnARowTableOrListMarksItsCellsAndItems)
{
    struct Case {
        const char* markup;
        const char* id;
    };
    const Case cases[] = {
        {"<table><tr id=x><td>a</td> <th>b<b>c</b></th></tr></table>", "x"},
        {"<table id=x><tr><td>a</td></tr><tr><td>b</td></tr></table>", "x"},
        {"<table><tbody id=x><tr><td>a</td><td><table><tr><td>b</td></tr></table></td></tr></tbody></table>", "x"},
        {"<ul id=x><li>a</li> <li>b<ol><li>c</li></ol></li></ul>", "x"},
        {"<dl id=x><dt>a</dt><dd>b</dd></dl>", "x"},
        {"<table><thead id=x><tr><th>a</th></tr></thead><tfoot><tr><td>b</td></tr></tfoot></table>", "x"},
        {"<table><tfoot id=x><tr><td>a</td></tr></tfoot></table>", "x"},
        {"<ol id=x><li>a</li><li>b</li></ol>", "x"},
        {"<dir id=x><li>a</li></dir>", "x"},
        {"<menu id=x><li>a</li></menu>", "x"},
        {"<table><tr id=x></tr></table>", "x"},
    };
    const std::string style = "FONT-WEIGHT: bold";
    for (const Case& c : cases) {
        HtmlDocument doc = HtmlDocument::fromUtf8(c.markup);
        const std::string before = doc.outerHtml(doc.body());
        const std::string inner = doc.innerHtml(doc.elementById(c.id));
        const std::string highlighted = kBold + inner + kClose;
        ASSERT_TRUE(doc.setInnerHtml(doc.elementById(c.id), highlighted)) << c.markup;
        EXPECT_TRUE(everyTextMarked(doc.elementById(c.id), style)) << doc.outerHtml(doc.body());
        EXPECT_EQ(doc.innerHtml(doc.elementById(c.id)), highlighted) << c.markup;
        ASSERT_TRUE(doc.setInnerHtml(doc.elementById(c.id), inner));
        EXPECT_EQ(doc.outerHtml(doc.body()), before) << c.markup;
    }
    // Not one span around everything: set as given.
    HtmlDocument doc = HtmlDocument::fromUtf8("<table><tr id=x><td>a</td></tr></table>");
    for (const char* markup : {"<span>a</span><td>b</td><span>c</span>", "<span x='>'", "<spank><td>b</td></span>"})
        EXPECT_TRUE(doc.setInnerHtml(doc.elementById("x"), markup)) << markup;
}

TEST(HtmlDocument, LeavesTheHtmlElementsContentAloneSoTheBodyStays)
{
    for (const char* markup : {"<html id=r><body><p id=p>x</p></body></html>", "<html id=r><p id=p>x</p>"}) {
        HtmlDocument doc = HtmlDocument::fromUtf8(markup);
        xmlNode* html = doc.elementById("r");
        ASSERT_NE(html, nullptr) << markup;
        const std::string inner = doc.innerHtml(html);
        EXPECT_FALSE(doc.setInnerHtml(html, kBold + inner + kClose)) << markup;
        EXPECT_EQ(doc.innerHtml(html), inner);
        EXPECT_EQ(doc.body()->parent, html);
        EXPECT_EQ(textOf(doc.elementById("p")), "x");
    }
}

TEST(HtmlDocument, ReadsC1ReferencesAsWindows1252ButKeepsIdsAsWritten)
{
    HtmlDocument doc = HtmlDocument::fromUtf8(
        "<p id=\"a&#146;\" title=\"&#147;t&#148;\">It&#146;s</p><div id=d></div>");
    const xmlNode* p = doc.elementById("a\u0092");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(textOf(p), "It\u2019s");
    EXPECT_EQ(HtmlNode::attribute(p, "title"), "\u201Ct\u201D");
    ASSERT_TRUE(doc.setInnerHtml(doc.elementById("d"), "<b>&#150;</b>"));
    EXPECT_EQ(textOf(doc.elementById("d")), "\u2013");
    EXPECT_EQ(doc.innerHtml(doc.elementById("d")), "<b>&#150;</b>");  // set markup reads back as given
}

TEST(HtmlDocument, NotesRightToLeftTextAndSheetElementsAsItTakesThemIn)
{
    const std::pair<const char*, bool> kRows[] = {
        {"<p dir=\"ltr\">caf\u00E9 \u2013 \u201Cplain\u201D</p>", false},
        {"<p>\u05E9\u05DC\u05D5\u05DD</p>", true},  // Hebrew
        {"<p>x &#1575;</p>", true},                    // Arabic by reference
        {"<p><span dir=\"RTL\">x</span></p>", true},
        {"<html dir=\"rtl\"><body><p>x</p></body></html>", true},
    };
    for (const auto& [markup, rightToLeft] : kRows)
        EXPECT_EQ(HtmlDocument::fromUtf8(markup).hasRightToLeft(), rightToLeft) << markup;

    HtmlDocument doc = HtmlDocument::fromUtf8("<head><style>p {}</style><link rel=\"stylesheet\" href=\"a.css\">"
                                              "</head><body><div id=\"d\"><style>b {}</style>x</div></body>");
    const auto names = [&doc] {
        std::string out;
        for (const xmlNode* node : doc.sheetElements())
            out += std::string(HtmlNode::name(node)) + ' ';
        return out;
    };
    EXPECT_EQ(names(), "style link style ");
    // Content set later: what goes is no longer handed out, what comes is.
    ASSERT_TRUE(doc.setInnerHtml(doc.elementById("d"), "\u05D0<style>i {}</style>"));
    EXPECT_EQ(names(), "style link style ");
    EXPECT_TRUE(doc.hasRightToLeft());
}

TEST(HtmlDocument, LoadsNeitherPipesNorDevicesNorHugeFiles)
{
    test::TempDir dir;
    const std::filesystem::path pipe = dir.path() / "pipe.html";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::filesystem::path huge = dir.write("huge.html", "<p>x</p>");
    std::filesystem::resize_file(huge, HtmlDocument::kMaxFileBytes + 1);  // sparse: costs no disk
    const std::filesystem::path largest = dir.write("largest.html", "<p id=a>x</p>");
    std::filesystem::resize_file(largest, HtmlDocument::kMaxFileBytes);
    for (const std::filesystem::path& file : {pipe, huge, std::filesystem::path("/dev/zero")})
        EXPECT_FALSE(HtmlDocument::load(file).has_value()) << file;  // and never waits for a writer
    const auto doc = HtmlDocument::load(largest);
    ASSERT_TRUE(doc.has_value());
    EXPECT_NE(doc->elementById("a"), nullptr);
}

TEST(HtmlDocument, SurvivesDeepNesting)
{
    std::string markup = "<body>";
    for (int i = 0; i < 100000; ++i)
        markup += "<span>";
    markup += "deep";
    for (int i = 0; i < 300; ++i)
        markup += "<p><font face=x>paragraph " + std::to_string(i);
    HtmlDocument doc = HtmlDocument::fromUtf8(markup);
    const std::string inner = doc.innerHtml(doc.body());
    EXPECT_NE(inner.find("deep"), std::string::npos);
    EXPECT_NE(inner.find("paragraph 299"), std::string::npos);
    doc.setInnerHtml(doc.body(), inner);
    xmlNode* first = doc.body()->children;
    doc.setInnerHtml(first, doc.innerHtml(first));
    EXPECT_EQ(doc.keptMarkup(doc.body()), nullptr);
    EXPECT_EQ(doc.innerHtml(doc.body()), inner);
}

}  // namespace
}  // namespace korvin
