// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmltextview.h"

#include "styledtext.h"
#include "support/tempdir.h"
#include "support/sourcepaths.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QTextImageFormat>
#include <QUrl>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace korvin {
namespace {

const std::string kBold = "<SPAN style=\"FONT-WEIGHT: bold\">";
const std::string kItalic = "<SPAN style=\"FONT-STYLE: italic\">";
const std::string kBackground = "<SPAN style=\"BACKGROUND-COLOR: #ff8000\">";
const std::string kTextColour = "<SPAN style=\"COLOR: #ffffff\">";
const std::string kTermBackground = "<span style=\"BACKGROUND-COLOR: #ff8000\">";
const std::string kClose = "</SPAN>";

class Recorder : public HtmlView::Listener {
public:
    void beforeNavigate(const std::string& url, bool& cancel) override
    {
        before.push_back(url);
        cancel = cancelIf && cancelIf(url);
    }
    void documentComplete(const std::string& url) override { complete.push_back(url); }

    std::vector<std::string> before;
    std::vector<std::string> complete;
    std::function<bool(const std::string&)> cancelIf;
};

// Runs the event loop until `done` holds, or a generous time has passed.
bool waitFor(const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    return done();
}

std::string paragraphs(int count)
{
    std::string markup = "<html><body>";
    for (int i = 0; i < count; ++i) {
        markup += "<p id=\"p" + std::to_string(i) + "\"><a href=\"s.smil#t" + std::to_string(i) + "\">Paragraph "
                  + std::to_string(i) + " with some words in it.</a></p>\n";
    }
    return markup + "</body></html>";
}

class HtmlTextViewTest : public ::testing::Test {
protected:
    HtmlTextViewTest()
    {
        view.resize(500, 300);
        view.show();
        view.setListener(&listener);
    }

    std::string write(const std::string& name, const std::string& markup) { return dir.write(name, markup).string(); }
    std::string text() const { return view.document()->toRawText().toStdString(); }
    // Wraps the content of every element of each file in each highlight and
    // takes it off again: every element, the text and the markup as before.
    void wrapAndUnwrapEveryElement(const std::vector<std::string>& files);

    // The text view's way of highlighting: the element's content wrapped in a
    // span, later unwrapped by exact text.
    void wrap(const std::string& id, const std::string& open)
    {
        ASSERT_TRUE(view.setElementInnerHtml(id, open + *view.elementInnerHtml(id) + kClose));
    }
    void unwrap(const std::string& id, const std::string& open)
    {
        std::string markup = *view.elementInnerHtml(id);
        ASSERT_EQ(markup.rfind(open, 0), 0u) << markup;
        ASSERT_EQ(markup.substr(markup.size() - kClose.size()), kClose);
        ASSERT_TRUE(view.setElementInnerHtml(id, markup.substr(open.size(), markup.size() - open.size() - kClose.size())));
    }
    QTextCharFormat formatAt(int position) const
    {
        QTextCursor cursor(view.document());
        cursor.setPosition(position + 1);
        return cursor.charFormat();
    }

    test::TempDir dir;
    HtmlTextView view;
    Recorder listener;
};

TEST_F(HtmlTextViewTest, FindsElementsAndReadsTheirMarkup)
{
    EXPECT_FALSE(view.hasDocument());
    EXPECT_EQ(view.locationName(), "");
    EXPECT_EQ(view.bodyInnerHtml(), std::nullopt);
    EXPECT_FALSE(view.setBodyInnerHtml("x"));
    EXPECT_FALSE(view.hasElement("a"));
    EXPECT_FALSE(view.scrollIntoView("a"));

    view.navigate(write("a.html", "<html><body bgcolor=white><h1 id=h>Title</h1><p id=a class=s>One "
                                  "<b>two</b></p></body></html>"));
    EXPECT_TRUE(view.hasDocument());
    EXPECT_TRUE(view.hasElement("a"));
    EXPECT_FALSE(view.hasElement("A"));
    EXPECT_EQ(view.elementInnerHtml("a"), "One <B>two</B>");
    EXPECT_EQ(view.elementOuterHtml("a"), "<P id=\"a\" class=\"s\">One <B>two</B></P>");
    EXPECT_EQ(view.elementInnerHtml("missing"), std::nullopt);
    EXPECT_FALSE(view.setElementInnerHtml("missing", "x"));
    EXPECT_EQ(view.bodyOuterHtml(),
              "<BODY bgcolor=\"white\"><H1 id=\"h\">Title</H1><P id=\"a\" class=\"s\">One <B>two</B></P></BODY>");
    EXPECT_EQ(text(), "Title\u2029One two");
}

TEST_F(HtmlTextViewTest, HighlightsByFormatsWithoutRewritingTheText)
{
    view.navigate(write("a.html", "<html><body><p id=p1>Don't <a href=\"s.smil#1\">worry</a>, <i>be</i> happy</p>"
                                  "<p id=p2><span id=s>second</span> one</p></body></html>"));
    const std::string before = text();
    const std::string inner = *view.elementInnerHtml("p1");
    const auto [start, end] = *view.elementRange("p1");

    wrap("p1", kBold);
    EXPECT_EQ(view.elementInnerHtml("p1"), kBold + inner + kClose);
    EXPECT_EQ(text(), before);
    for (int position = start; position < end; ++position)
        EXPECT_EQ(formatAt(position).fontWeight(), QFont::Bold) << position;
    EXPECT_TRUE(formatAt(start + 6).isAnchor());
    EXPECT_TRUE(formatAt(start + 13).fontItalic());
    unwrap("p1", kBold);
    EXPECT_EQ(view.elementInnerHtml("p1"), inner);
    EXPECT_NE(formatAt(start).fontWeight(), QFont::Bold);

    // A colour is painted over the range; the text's formats stay.
    wrap("s", kBackground);
    ASSERT_EQ(view.extraSelections().size(), 1);
    EXPECT_EQ(view.extraSelections().front().cursor.selectedText(), "second");
    EXPECT_EQ(view.extraSelections().front().format.background().color(), QColor(255, 128, 0));
    unwrap("s", kBackground);
    EXPECT_TRUE(view.extraSelections().isEmpty());

    EXPECT_EQ(text(), before);
    EXPECT_EQ(view.rewriteCount(), 0);
}

TEST_F(HtmlTextViewTest, WrapsAndUnwrapsEveryElementOfBuiltBooksExactly)
{
    std::vector<std::string> files = {
        write("built.html", paragraphs(30)),
        write("rich.html",
              "<html><head><style>span.page { display: block } .hidden { display: none }</style></head>"
              "<body><h1 id=h><a href=\"s.smil#1\">Title</a></h1><div id=d><p id=p1>One <b id=b>two</b> "
              "<span id=e></span>three</p><ul id=ul><li id=li1>first<li id=li2><p id=lp>para in item</p>"
              "<ol id=ol start=4><li id=li3>nested</ol></ul><table id=t><tr id=r><td id=c1>a<td id=c2><p>b</p>"
              "</table><pre id=pre>\n  code\n  more</pre><span class=page id=pg>12</span><p id=br>x<br id=b2>y"
              "</p><div id=h1 class=hidden>gone</div><blockquote id=q><p id=qp>quoted</p></blockquote>"
              "<p id=last> <span id=s1> spaced </span> <span id=s2>out</span> </p></div></body></html>"),
        write("dtbook.xml",
              "<?xml version=\"1.0\"?><dtbook xmlns=\"http://www.daisy.org/z3986/2005/dtbook/\"><book>"
              "<frontmatter><doctitle id=\"t\">Title</doctitle></frontmatter><bodymatter><level1 id=\"l\">"
              "<h1 id=\"h\">Head</h1><p id=\"p\"><sent id=\"s1\">One</sent> <sent id=\"s2\">two</sent>"
              "<noteref id=\"r\" idref=\"#n\">1</noteref></p><pagenum id=\"pg\">2</pagenum><list id=\"li\">"
              "<li id=\"i1\"><lic id=\"c\">item</lic></li></list><table id=\"tb\"><tr id=\"tr\"><td id=\"td\">"
              "cell</td></tr></table><imggroup id=\"g\"><img id=\"im\" src=\"x.png\" alt=\"alt\"/></imggroup>"
              "<note id=\"n\"><p id=\"np\">note</p></note></level1></bodymatter></book></dtbook>")};
    wrapAndUnwrapEveryElement(files);
}

// A DTBook looks as the HTML it stands for, and the highlight of a SMIL text
// fragment lands on the text of its element.
TEST_F(HtmlTextViewTest, ShowsADtbookAsTheHtmlItStandsForAndHighlightsByItsIds)
{
    const auto dtbook = [](const std::string& body) {
        return "<?xml version=\"1.0\" encoding=\"utf-8\"?><dtbook xmlns=\"http://www.daisy.org/z3986/2005/dtbook/\">"
               "<head><meta name=\"dtb:uid\" content=\"u\"/></head><book><bodymatter>"
               + body + "</bodymatter></book></dtbook>";
    };
    const struct {
        const char* name;
        std::string dtbook;
        std::string html;
    } cases[] = {
        {"headings by level", "<level1><h1>A</h1><level2><hd>B</hd><p>text</p></level2></level1>",
         "<div><h1>A</h1><div><h2>B</h2><p>text</p></div></div>"},
        {"lists", "<list type=\"ol\"><li><lic>one</lic></li><li>two</li></list><list type=\"pl\"><li>p</li></list>",
         "<ol><li><span>one</span></li><li>two</li></ol><ul style=\"list-style-type: none\"><li>p</li></ul>"},
        {"tables", "<table><caption>C</caption><tr><th>H</th><td>d</td></tr></table>",
         "<table><caption>C</caption><tr><th>H</th><td>d</td></tr></table>"},
        {"page numbers, notes, sidebars and producer notes",
         "<pagenum>1</pagenum><p>a<noteref idref=\"#n\">1</noteref></p><note id=\"n\"><p>N</p></note>"
         "<sidebar><p>S</p></sidebar><prodnote>P</prodnote><p>x <prodnote>in</prodnote></p>",
         "<div>1</div><p>a<a href=\"#n\">1</a></p><div id=\"n\"><p>N</p></div><div><p>S</p></div><div>P</div>"
         "<p>x <span>in</span></p>"},
        {"emphasis and links", "<p><em>e</em> <strong>s</strong> <sub>2</sub><sup>3</sup> <a href=\"b.xml\">l</a></p>",
         "<p><em>e</em> <strong>s</strong> <sub>2</sub><sup>3</sup> <a href=\"b.xml\">l</a></p>"},
        {"poems", "<poem><linegroup><line>one</line><line>two</line></linegroup></poem>",
         "<div><div><div>one</div><div>two</div></div></div>"},
    };
    for (const auto& c : cases) {
        view.navigate(write("case.html", "<html><body><div>" + c.html + "</div></body></html>"));
        const std::string expected = test::styledText(*view.document());
        view.navigate(write("case.xml", dtbook(c.dtbook)));
        EXPECT_EQ(test::styledText(*view.document()), expected) << c.name;
    }

    view.navigate(write("book.xml", dtbook("<level1><h1 id=\"h\">Head</h1><p><sent id=\"s1\">One.</sent> "
                                           "<sent id=\"s2\">Two.</sent></p><imggroup><img id=\"i\" src=\"x.png\" "
                                           "alt=\"A tree\"/></imggroup></level1>")
                                    + "#s2"));
    EXPECT_EQ(text(), "Head\u2029One. Two.\u2029A tree");
    const QString raw = view.document()->toRawText();
    for (const auto& [id, shown] : {std::pair{"h", "Head"}, {"s1", "One."}, {"s2", "Two."}, {"i", "A tree"}}) {
        const auto range = view.elementRange(id);
        ASSERT_TRUE(range) << id;
        EXPECT_EQ(raw.mid(range->first, range->second - range->first).toStdString(), shown) << id;
        wrap(id, kBackground);
        EXPECT_EQ(test::paintedOver(view.extraSelections()),
                  std::to_string(range->first) + "-" + std::to_string(range->second) + "<bg#ffff8000>")
            << id;
        unwrap(id, kBackground);
    }
    EXPECT_EQ(view.rewriteCount(), 0);
}

// The same on real books: the sample books of ../shared/books, when they are there.
TEST_F(HtmlTextViewTest, WrapsAndUnwrapsEveryElementOfTheSampleBooksExactly)
{
    const std::filesystem::path shared = korvin::test::sharedBooksDir();
    std::vector<std::string> files;
    for (const char* file :
         {"dontworrybehappy/content.html", "unicef-toolkit-a/toolkit_a.html", "mental_health-daisy3/dtbook.xml"}) {
        if (std::filesystem::exists(shared / file))
            files.push_back((shared / file).string());
    }
    if (files.empty())
        GTEST_SKIP() << "the sample books of ../shared/books are not here";
    wrapAndUnwrapEveryElement(files);
}

void HtmlTextViewTest::wrapAndUnwrapEveryElement(const std::vector<std::string>& files)
{
    for (const std::string& file : files) {
        view.navigate(file);
        const std::string before = text();
        const std::string body = *view.bodyInnerHtml();
        std::vector<std::string> ids;
        const std::string& markup = body;
        for (std::size_t at = markup.find(" id=\""); at != std::string::npos; at = markup.find(" id=\"", at + 1))
            ids.push_back(markup.substr(at + 5, markup.find('"', at + 5) - at - 5));
        ASSERT_FALSE(ids.empty()) << file;
        for (const std::string& id : ids) {
            if (view.elementOuterHtml(id)->rfind("<BR", 0) == 0 || view.elementOuterHtml(id)->rfind("<IMG", 0) == 0)
                continue;  // no content to wrap
            const std::string old = *view.elementInnerHtml(id);
            for (const std::string& open : {kBold, kItalic, kBackground}) {
                wrap(id, open);
                unwrap(id, open);
            }
            EXPECT_EQ(view.elementInnerHtml(id), old) << file << " " << id;
        }
        EXPECT_EQ(text(), before) << file;
        EXPECT_EQ(*view.bodyInnerHtml(), body) << file;
        EXPECT_EQ(view.rewriteCount(), 0) << file;
    }
}

// A highlight, in each style, and a term marked all through the text, look
// as the same markup loaded afresh looks: the same text, formats and colours.
TEST_F(HtmlTextViewTest, HighlightsAndMarksAsTheSameMarkupLoadedAfreshShowsIt)
{
    const std::string head = "<html><head><style>span.page { display: block; text-align: right } "
                             ".gone { display: none } .red { color: #ff0000 }</style></head>";
    const std::string rich =
        "<body><h1 id=h><a href=\"s.smil#1\">Title</a> &amp; more</h1><p id=p1>It\xC2\x92s <b id=b>two</b> "
        "<span id=e></span>&#147;three&#148;&nbsp;<span id=r class=red>red</span></p><ul id=ul><li id=li1>first"
        "<li id=li2><p id=lp>para in item</p><ol id=ol start=4><li id=li3>nested</ol></ul><table id=t>"
        "<tr id=r1><th id=c0>Item<td id=c1>a<td id=c2><p>b</p></table><pre id=pre>\n  code\n  more</pre>"
        "<span class=page id=pg>12</span><p id=br>x<br id=b2>y</p><div id=g class=gone>gone</div>"
        "<blockquote id=q><p id=qp><i id=it>quoted</i></p></blockquote>"
        "<p id=last> <span id=s1> spaced </span> <span id=s2>out</span> </p></body>";
    HtmlTextView afresh;
    afresh.resize(view.size());
    afresh.show();
    const auto sameAsAfresh = [&](const std::string& what) {
        afresh.navigate(write("afresh.html", head + *view.bodyOuterHtml() + "</html>"));
        EXPECT_EQ(test::styledText(*view.document()), test::styledText(*afresh.document())) << what;
        EXPECT_EQ(test::paintedOver(view.extraSelections()), test::paintedOver(afresh.extraSelections())) << what;
    };
    view.navigate(write("rich.html", head + rich + "</html>"));
    const std::string before = test::styledText(*view.document());
    // (A list, table or row wrapped whole reads back as written, which a
    // fresh parse would arrange otherwise: they are left out here.)
    for (const char* id : {"h", "p1", "b", "e", "r", "li2", "lp", "li3", "c0", "c2", "pre", "pg", "br", "g", "q", "qp",
                           "it", "last", "s1"}) {
        for (const std::string& open : {kBold, kItalic, kBackground, kTextColour}) {
            wrap(id, open);
            sameAsAfresh(std::string(id) + " " + open);
            unwrap(id, open);
        }
    }
    EXPECT_EQ(test::styledText(*view.document()), before);

    // A term all through a long text, a highlight moving over it, and the
    // term taken out again.
    view.navigate(write("long.html", paragraphs(600)));
    const std::string plain = *view.bodyOuterHtml();
    std::string marked = plain;
    for (std::size_t at = marked.find("words"); at != std::string::npos; at = marked.find("words", at)) {
        marked.insert(at + 5, kClose);
        marked.insert(at, kTermBackground);
        at += kTermBackground.size() + 5 + kClose.size();
    }
    ASSERT_TRUE(view.setBodyInnerHtml(marked));
    sameAsAfresh("marked");
    wrap("p3", kBold);
    sameAsAfresh("marked, p3 highlighted");
    unwrap("p3", kBold);
    ASSERT_TRUE(view.setBodyInnerHtml(plain));
    sameAsAfresh("unmarked");
}

TEST_F(HtmlTextViewTest, MarksTermsThroughTheBodyAndTakesThemOutByPosition)
{
    view.navigate(write("a.html", "<html><body class=b><p id=p1>Worry not, worry less.</p>"
                                  "<p id=p2>No worries</p></body></html>"));
    const std::string before = text();
    const std::string body = *view.bodyInnerHtml();
    const std::string term = "worr";

    std::string marked = *view.bodyOuterHtml();
    std::string lower = marked;
    for (char& ch : lower)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    int marks = 0;
    for (std::size_t at = lower.find(term, 1); at != std::string::npos; at = lower.find(term, at)) {
        marked.insert(at, kTermBackground);
        lower.insert(at, kTermBackground);
        const std::size_t close = at + kTermBackground.size() + term.size();
        marked.insert(close, kClose);
        lower.insert(close, kClose);
        at = close + 8;
        ++marks;
    }
    ASSERT_EQ(marks, 3);
    ASSERT_TRUE(view.setBodyInnerHtml(marked));
    EXPECT_EQ(text(), before);
    EXPECT_EQ(view.extraSelections().size(), 3);
    EXPECT_EQ(view.bodyOuterHtml()->rfind("<BODY class=\"b\"><P id=\"p1\">", 0), 0u);  // no body inside the body

    // The highlight moves in between; the marks keep their length.
    wrap("p1", kBold);
    unwrap("p1", kBold);
    std::string markup = *view.bodyInnerHtml();
    lower = markup;
    for (char& ch : lower)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    for (std::size_t at = lower.find(term, 1); at != std::string::npos; at = lower.find(term, at)) {
        std::size_t k = at - kTermBackground.size();
        markup.erase(k, kTermBackground.size());
        lower.erase(k, kTermBackground.size());
        k += term.size();
        markup.erase(k, kClose.size());
        lower.erase(k, kClose.size());
        at = k + 8;
    }
    ASSERT_TRUE(view.setBodyInnerHtml(markup));
    EXPECT_EQ(*view.bodyInnerHtml(), body);
    EXPECT_EQ(text(), before);
    EXPECT_TRUE(view.extraSelections().isEmpty());
    EXPECT_EQ(view.rewriteCount(), 0);
}

// A term marked all through a long text is painted wherever the text is
// shown, and the text itself stays as it was.
TEST_F(HtmlTextViewTest, PaintsAMarkedTermWhereverALongTextIsShown)
{
    view.navigate(write("long.html", paragraphs(3000)));
    const std::string before = text();
    std::string marked = *view.bodyOuterHtml();
    for (std::size_t at = marked.find("words"); at != std::string::npos; at = marked.find("words", at)) {
        marked.insert(at + 5, kClose);
        marked.insert(at, kTermBackground);
        at += kTermBackground.size() + 5 + kClose.size();
    }
    ASSERT_TRUE(view.setBodyInnerHtml(marked));
    for (const char* id : {"p0", "p1500", "p2999", "p10"}) {
        ASSERT_TRUE(view.scrollIntoView(id));
        view.viewport()->repaint();
        const auto [start, end] = *view.elementRange(id);
        const QList<QTextEdit::ExtraSelection> painted = view.extraSelections();
        EXPECT_TRUE(std::any_of(painted.begin(), painted.end(), [&](const QTextEdit::ExtraSelection& selection) {
            return selection.cursor.selectionStart() >= start && selection.cursor.selectionEnd() <= end
                   && selection.cursor.selectedText() == "words";
        })) << id;
    }
    EXPECT_EQ(text(), before);
    EXPECT_EQ(view.rewriteCount(), 0);
}

TEST_F(HtmlTextViewTest, RewritesOnlyTheElementWhoseTextChanged)
{
    view.navigate(write("a.html", "<html><body><p id=p1>first</p><p id=p2>second <b id=b>bold</b></p>"
                                  "<p id=p3>third <span id=in>inner</span></p><p id=empty></p><p id=p4>fourth</p>"
                                  "</body></html>"));
    QTextCursor caret(view.document());
    caret.setPosition(view.elementRange("p4")->first + 2);
    view.setTextCursor(caret);

    ASSERT_TRUE(view.setElementInnerHtml("p2", "changed <i id=new>words</i> here"));
    EXPECT_EQ(text(), "first\u2029changed words here\u2029third inner\u2029fourth");
    EXPECT_EQ(view.rewriteCount(), 1);
    EXPECT_FALSE(view.hasElement("b"));
    const auto textAt = [&](const char* id) {
        const auto [start, end] = *view.elementRange(id);
        return view.document()->toRawText().mid(start, end - start).toStdString();
    };
    EXPECT_EQ(textAt("new"), "words");
    EXPECT_EQ(textAt("p2"), "changed words here");
    EXPECT_EQ(textAt("in"), "inner");
    EXPECT_EQ(textAt("p4"), "fourth");
    EXPECT_TRUE(formatAt(view.elementRange("new")->first).fontItalic());
    EXPECT_EQ(view.textCursor().position(), view.elementRange("p4")->first + 2);  // moved along with its text

    ASSERT_TRUE(view.setElementInnerHtml("empty", "now <b>here</b>"));
    EXPECT_EQ(text(), "first\u2029changed words here\u2029third inner\u2029now here\u2029fourth");
    EXPECT_EQ(textAt("empty"), "now here");
    EXPECT_EQ(textAt("p4"), "fourth");
    ASSERT_TRUE(view.setElementInnerHtml("in", ""));
    EXPECT_EQ(textAt("in"), "");
    EXPECT_EQ(textAt("p4"), "fourth");
    ASSERT_TRUE(view.setBodyInnerHtml("<P id=\"x\">all new</P>"));
    EXPECT_EQ(text(), "all new");
    EXPECT_FALSE(view.hasElement("p1"));
}

TEST_F(HtmlTextViewTest, KeepsTheCaretAndTheScrollPositionWhileTheHighlightMoves)
{
    view.navigate(write("long.html", paragraphs(200)));
    QTextCursor caret(view.document());
    caret.setPosition(view.elementRange("p100")->first + 5);
    view.setTextCursor(caret);
    view.setScrollTop(1234);
    const int top = view.scrollTop();
    const std::string before = text();

    std::string previous;
    for (const char* id : {"p10", "p99", "p100", "p101", "p150"}) {
        for (const std::string& open : {kBold, kBackground}) {
            if (!previous.empty())
                unwrap(previous, open);
            wrap(id, open);
            unwrap(id, open);
        }
        wrap(id, kBold);
        previous = id;
        EXPECT_EQ(view.textCursor().position(), view.elementRange("p100")->first + 5);
        EXPECT_EQ(view.scrollTop(), top);
        unwrap(id, kBold);
        previous.clear();
    }
    EXPECT_EQ(text(), before);
    EXPECT_EQ(view.rewriteCount(), 0);
}

TEST_F(HtmlTextViewTest, MeasuresAndScrollsTheBody)
{
    view.navigate(write("long.html", paragraphs(300)));
    const int height = view.bodyScrollHeight();
    const int viewHeight = view.viewHeight();
    EXPECT_GT(viewHeight, 100);
    EXPECT_GT(height, 300 * 10);
    EXPECT_EQ(view.scrollTop(), 0);

    view.setScrollTop(-50);
    EXPECT_EQ(view.scrollTop(), 0);
    view.setScrollTop(1 << 30);
    EXPECT_EQ(view.scrollTop(), height - viewHeight);

    ASSERT_TRUE(view.scrollIntoView("p150"));
    QTextCursor at(view.document());
    at.setPosition(view.elementRange("p150")->first);
    EXPECT_NEAR(view.cursorRect(at).top(), 0, 2);  // the element's first line at the top

    // Near the end the element goes as far up as the scroll range allows.
    ASSERT_TRUE(view.scrollIntoView("p299"));
    EXPECT_EQ(view.scrollTop(), height - viewHeight);
    EXPECT_FALSE(view.scrollIntoView("nothing"));

    // The highlighter's centring: top of the view, then half a view back.
    ASSERT_TRUE(view.scrollIntoView("p150"));
    const int top = view.scrollTop();
    ASSERT_GT(view.bodyScrollHeight() - top, viewHeight);
    view.setScrollTop(top - viewHeight / 2);
    EXPECT_NEAR(view.cursorRect(at).top(), viewHeight / 2, 2);
}

// A long text is laid out as far as it is looked at; the highlighter's
// highlight and centring give what they give on the text laid out to its end,
// also where the text laid out so far is no guide to the height of the rest.
TEST_F(HtmlTextViewTest, HighlightsAndCentresALongTextLaidOutOnlyAsFarAsNeeded)
{
    std::string uneven = "<html><body><p id=dense>";
    for (int i = 0; i < 3000; ++i)
        uneven += "words ";
    uneven += "</p>";
    for (int i = 0; i < 3000; ++i)
        uneven += "<h1 id=h" + std::to_string(i) + ">" + std::to_string(i) + "</h1>";
    const struct {
        std::string file;
        std::vector<std::string> ids;
    } cases[] = {{write("long.html", paragraphs(4000)), {"p0", "p7", "p2500", "p3992", "p3999"}},
                 {write("uneven.html", uneven + "</body></html>"), {"dense", "h40", "h2000", "h2999"}}};
    const auto highlight = [&](const std::string& id) {
        wrap(id, kItalic);
        view.scrollIntoView(id);
        const int top = view.scrollTop();
        const int height = view.bodyScrollHeight();
        view.setScrollTop(height - top > view.viewHeight() ? top - view.viewHeight() / 2 : height);
        return std::make_pair(top, view.scrollTop());
    };
    for (const auto& [file, ids] : cases) {
        for (const std::string& id : ids) {
            view.navigate(file);
            const auto lazily = highlight(id);
            if (id == "p7") {
                EXPECT_EQ(view.document()->lastBlock().layout()->lineCount(), 0) << "laid out to the end";
            }
            const auto [start, end] = *view.elementRange(id);
            EXPECT_TRUE(formatAt(start).fontItalic()) << id;
            EXPECT_TRUE(formatAt(end - 2).fontItalic()) << id;
            EXPECT_FALSE(formatAt(end + 1).fontItalic()) << id;

            view.document()->documentLayout()->documentSize();
            unwrap(id, kItalic);
            view.setScrollTop(0);
            EXPECT_EQ(highlight(id), lazily) << id;
        }
    }
}

TEST_F(HtmlTextViewTest, SurvivesBrokenMarkupAndKeepsItsRangesInStep)
{
    view.navigate(write("a.html", "<html><head><title id=t>T</title></head><body><p id=p1>one</p>"
                                  "<div id=d><p id=p2>two <img id=img src=x.png><br id=br></p></div>"
                                  "<p id=hidden style=\"display: none\">h</p><p id=last>last paragraph</p>"
                                  "</body></html>"));
    const auto textAt = [&](const char* id) {
        const auto [start, end] = *view.elementRange(id);
        return view.document()->toRawText().mid(start, end - start).toStdString();
    };
    EXPECT_FALSE(view.setElementInnerHtml("br", "x"));
    EXPECT_TRUE(view.setElementInnerHtml("t", "<b>title</b>"));
    EXPECT_TRUE(view.setElementInnerHtml("hidden", "<p id=inner>still hidden</p>"));
    EXPECT_EQ(text(), "one\u2029two\u2028\u2029last paragraph");
    for (const char* markup : {"", "<p>unclosed <b>bold <i>both", "</p></div></body></html>after", "<html><body>x",
                               "<BODY class=\"z\">in body</BODY>", "a <span style=\"COLOR: #ff0000\">p</SPAN> id=\"x\">",
                               "<<<>>>&&&;;", "<table><tr><td>cell", "<li>item<li>item", "<pre>\n\n  x</pre>",
                               "<!-- unclosed comment", "<script>document.write('x')</script>visible"}) {
        for (const char* id : {"p1", "d", "p2"}) {
            if (!view.hasElement(id))
                continue;
            ASSERT_TRUE(view.setElementInnerHtml(id, markup)) << markup;
            EXPECT_EQ(view.elementInnerHtml(id), markup);
            EXPECT_EQ(textAt("last"), "last paragraph") << id << " " << markup;
        }
    }
    ASSERT_TRUE(view.setBodyInnerHtml(*view.bodyOuterHtml() + "<p id=more>more</p>"));
    EXPECT_EQ(textAt("last"), "last paragraph");
    EXPECT_EQ(textAt("more"), "more");
}

// Tag soup from a fixed seed: pieces of markup in any order.
std::string soup(std::mt19937& random, int pieces)
{
    static const std::vector<std::string> kPieces = {
        "<p id=a>", "</p>", "<div id=b>", "</div>", "<span id=c>", "</span>", "<b>", "</b>", "<i>", "<ul>",
        "<li id=d>", "<ol start=3>", "</ol>", "<table>", "<tr id=e>", "<td>", "<th>", "<pre>", "\n", "<br>",
        "<hr>", "<img src=x.png>", "<a href=\"s.smil#1\">", "</a>", "<a name=n>", "text ", "more words ",
        "&amp;", "&nbsp;", "&#x263A;", " ", "  \t ", "<h1 id=f>", "</h1>", "<blockquote>", "<span style=\"color: red\">",
        "<span style=\"FONT-WEIGHT: bold\">", "<body>", "</body>", "<!--", "-->", "<style>p{color:red}</style>",
        "<script>x<y</script>", "<p style=\"display: none\">", "<font size=7>", "\xC3\xA4", "<", ">", "\"", "="};
    std::string markup;
    for (int i = 0; i < pieces; ++i)
        markup += kPieces[random() % kPieces.size()];
    return markup;
}

TEST_F(HtmlTextViewTest, SurvivesTagSoupAndChangesOfIt)
{
    std::mt19937 random(1);
    for (int round = 0; round < 40; ++round) {
        view.navigate(write("soup.html", "<html><body>" + soup(random, 60) + "<p id=last>end</p></body></html>"));
        for (int change = 0; change < 10; ++change) {
            const char* ids[] = {"a", "b", "c", "d", "e", "f", "last"};
            const std::string id = ids[random() % 7];
            if (!view.hasElement(id))
                continue;
            const std::string markup = soup(random, 12);
            if (view.setElementInnerHtml(id, markup)) {
                EXPECT_EQ(view.elementInnerHtml(id), markup);
            }
            if (random() % 3 == 0) {
                wrap(id, kBold);
                unwrap(id, kBold);
            }
        }
        if (view.hasElement("last") && view.elementRange("last")) {
            const auto [start, end] = *view.elementRange("last");
            EXPECT_LE(0, start);
            EXPECT_LE(start, end);
            EXPECT_LE(end, view.document()->characterCount() - 1);
        }
        view.bodyScrollHeight();
    }
}

TEST_F(HtmlTextViewTest, RaisesBeforeNavigateAndKeepsTheDocumentWhenCancelled)
{
    const std::string first = write("first.html", "<p id=a>first</p>");
    const std::string second = write("second.html", "<p id=b>second</p>");
    view.navigate(first);
    ASSERT_EQ(listener.before, std::vector<std::string>{first});

    listener.cancelIf = [](const std::string&) { return true; };
    view.navigate(second + "#b");
    EXPECT_EQ(listener.before.back(), second + "#b");
    EXPECT_EQ(view.locationName(), first);
    EXPECT_EQ(text(), "first");
    ASSERT_TRUE(waitFor([&] { return !listener.complete.empty(); }));
    QApplication::processEvents();
    EXPECT_EQ(listener.complete, std::vector<std::string>{first});
}

TEST_F(HtmlTextViewTest, CompletesADocumentAfterNavigateHasReturned)
{
    const std::string file = write("sub/start_en.html", paragraphs(100));
    const QString relative = QDir::current().relativeFilePath(QString::fromStdString(file));
    view.navigate(relative.toStdString() + "#p60");
    EXPECT_TRUE(listener.complete.empty());
    EXPECT_EQ(listener.before, std::vector<std::string>{file + "#p60"});
    EXPECT_EQ(view.locationName(), file);
    ASSERT_TRUE(waitFor([&] { return !listener.complete.empty(); }));
    EXPECT_EQ(listener.complete, std::vector<std::string>{file});
    // Shown at the fragment's element.
    QTextCursor at(view.document());
    at.setPosition(view.elementRange("p60")->first);
    EXPECT_NEAR(view.cursorRect(at).top(), 0, 2);
}

TEST_F(HtmlTextViewTest, FindsALatin1DocumentByItsBytesAndItsIdsAsTheSmilFileWritesThem)
{
    struct Case {
        const char* name;
        std::string head;
    };
    const Case cases[] = {{"declared", "<meta charset=\"iso-8859-1\">"}, {"undeclared", ""}};
    for (const Case& c : cases) {
        // File name, folder and id in Latin-1 bytes, as on an old CD.
        const std::string file = write(std::string("b\xFC" "cher/") + c.name + "-kapitel\xE4.html",
                                       c.head + "<p id=\"gr\xFC\xDF\">\xC4rger</p><p id=x>x</p>");
        view.navigate(file + "#gr\xFC\xDF");
        EXPECT_EQ(listener.before.back(), file + "#gr\xFC\xDF") << c.name;
        EXPECT_EQ(view.locationName(), file) << c.name;
        EXPECT_EQ(text(), "\u00C4rger\u2029x") << c.name;
        ASSERT_TRUE(view.hasElement("gr\xFC\xDF")) << c.name;
        wrap("gr\xFC\xDF", kBold);
        EXPECT_TRUE(formatAt(0).font().bold()) << c.name;
        unwrap("gr\xFC\xDF", kBold);
        EXPECT_EQ(view.elementInnerHtml("gr\xFC\xDF"), "\u00C4rger");
    }
}

TEST_F(HtmlTextViewTest, ShowsAMissingFileAsItsNameAndStillCompletes)
{
    const std::string missing = (dir.path() / "gone.html").string();
    view.navigate(missing);
    EXPECT_TRUE(view.hasDocument());
    EXPECT_EQ(view.locationName(), missing);
    EXPECT_EQ(text(), "gone.html");
    ASSERT_TRUE(waitFor([&] { return !listener.complete.empty(); }));
    EXPECT_EQ(listener.complete.front(), missing);
    view.navigate("");
    EXPECT_TRUE(view.hasDocument());
}

TEST_F(HtmlTextViewTest, ResolvesLinksAgainstTheDocumentsFolder)
{
    const std::string file = write("book/text/content.html", paragraphs(200));
    write("book/other.html", "<p id=o>other</p>");
    const std::string folder = dir.folder() + "book/text/";
    view.navigate(file);
    listener.cancelIf = [](const std::string& url) { return url.find("other.html") == std::string::npos; };

    view.activateLink("chap2.smil#par_12");
    EXPECT_EQ(listener.before.back(), folder + "chap2.smil#par_12");
    view.activateLink("sub%20dir/x.html#a%20b");
    EXPECT_EQ(listener.before.back(), folder + "sub dir/x.html#a b");
    view.activateLink("http://example.org/page?x=1#top");
    EXPECT_EQ(listener.before.back(), "http://example.org/page?x=1#top");
    EXPECT_EQ(view.locationName(), file);

    listener.cancelIf = {};
    view.activateLink("#p40");
    EXPECT_EQ(listener.before.back(), file + "#p40");
    QTextCursor at(view.document());
    at.setPosition(view.elementRange("p40")->first);
    EXPECT_NEAR(view.cursorRect(at).top(), 0, 2);

    view.activateLink("..\\other.html");
    EXPECT_EQ(listener.before.back(), dir.folder() + "book/other.html");
    EXPECT_EQ(view.locationName(), dir.folder() + "book/other.html");
    EXPECT_EQ(text(), "other");
    ASSERT_TRUE(waitFor([&] { return listener.complete.size() == 2; }));
    EXPECT_EQ(listener.complete.back(), dir.folder() + "book/other.html");
}

TEST_F(HtmlTextViewTest, ActivatesLinksFromTheKeyboardAndTheMouse)
{
    view.navigate(write("a.html", "<html><body><p>Plain text, then <a href=\"s1.smil#t1\">a link</a> and "
                                  "<a href=\"s2.smil#t2\">another</a>.</p></body></html>"));
    listener.cancelIf = [](const std::string&) { return true; };
    const QString all = view.document()->toRawText();

    QTextCursor caret(view.document());
    caret.setPosition(static_cast<int>(all.indexOf("link")));
    view.setTextCursor(caret);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&view, &enter);
    EXPECT_EQ(listener.before.back(), dir.folder() + "s1.smil#t1");

    // Return on plain text does nothing.
    const std::size_t count = listener.before.size();
    caret.setPosition(2);
    view.setTextCursor(caret);
    QApplication::sendEvent(&view, &enter);
    EXPECT_EQ(listener.before.size(), count);

    // Tab selects the next link; Return follows it.
    caret.setPosition(0);
    view.setTextCursor(caret);
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(&view, &tab);
    EXPECT_EQ(view.textCursor().selectedText(), "a link");
    QApplication::sendEvent(&view, &tab);
    EXPECT_EQ(view.textCursor().selectedText(), "another");
    QApplication::sendEvent(&view, &enter);
    EXPECT_EQ(listener.before.back(), dir.folder() + "s2.smil#t2");
    listener.before.clear();

    QTextCursor target(view.document());
    target.setPosition(static_cast<int>(all.indexOf("other")));
    const QPoint point = view.cursorRect(target).center() + QPoint(3, 0);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(point), view.viewport()->mapToGlobal(QPointF(point)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(point), view.viewport()->mapToGlobal(QPointF(point)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &press);
    QApplication::sendEvent(view.viewport(), &release);
    EXPECT_EQ(listener.before.back(), dir.folder() + "s2.smil#t2");
}

TEST_F(HtmlTextViewTest, GivesTheScreenReaderItsNameTextAndCaret)
{
    view.navigate(write("a.html", "<html><body><h1>Chapter</h1><p>First line of text.</p></body></html>"));
    view.setAccessibleName("Text");
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&view);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Text");
    QAccessibleTextInterface* textInterface = accessible->textInterface();
    ASSERT_NE(textInterface, nullptr);
    EXPECT_EQ(textInterface->characterCount(), view.document()->characterCount() - 1);
    EXPECT_TRUE(textInterface->text(0, textInterface->characterCount()).contains("First line of text."));
    EXPECT_TRUE(accessible->state().readOnly);

    QTextCursor caret(view.document());
    caret.setPosition(12);
    view.setTextCursor(caret);
    EXPECT_EQ(textInterface->cursorPosition(), 12);
    EXPECT_TRUE(view.textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
}

TEST_F(HtmlTextViewTest, LoadsTheImagesOfTheDocument)
{
    QImage picture(30, 10, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    std::filesystem::create_directories(dir.path() / "images");
    ASSERT_TRUE(picture.save(QString::fromStdString((dir.path() / "images" / "p.png").string())));
    view.navigate(write("a.html", "<p>before <img src=\"images/p.png\" alt=\"A blue bar\"> after</p>"));
    view.viewport()->repaint();
    const QTextImageFormat image = formatAt(7).toImageFormat();
    ASSERT_TRUE(image.isValid());
    const QVariant loaded = view.document()->resource(QTextDocument::ImageResource, QUrl(image.name()));
    ASSERT_TRUE(loaded.isValid());
    const QImage shown = loaded.canConvert<QImage>() ? loaded.value<QImage>() : QImage::fromData(loaded.toByteArray());
    EXPECT_EQ(shown.size(), QSize(30, 10));
}

TEST_F(HtmlTextViewTest, ReadsLatin1DocumentsAndTheirStyleSheets)
{
    dir.write("style.css", "p.x { font-weight: bold }");
    view.navigate(write("latin.html",
                        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">"
                        "<link rel=\"stylesheet\" href=\"style.css\"></head>"
                        "<body><p id=a class=x>Gr\xFC\xDF" "e &amp; K\xF6ln</p></body></html>"));
    EXPECT_EQ(text(), "Gr\u00FC\u00DFe & K\u00F6ln");
    EXPECT_EQ(formatAt(0).fontWeight(), QFont::Bold);
    EXPECT_EQ(view.elementInnerHtml("a"), "Gr\u00FC\u00DFe &amp; K\u00F6ln");
}

}  // namespace
}  // namespace korvin
