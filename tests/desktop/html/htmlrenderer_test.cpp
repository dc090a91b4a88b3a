// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmlrenderer.h"

#include "desktop/html/htmldocument.h"
#include "desktop/html/htmlformats.h"
#include "desktop/html/htmlstylesheet.h"
#include "desktop/html/htmlstyler.h"
#include "styledtext.h"
#include "support/tempdir.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace korvin {
namespace {

constexpr qreal kBaseSize = 10;

// A document rendered whole, as the text view loads it.
struct Rendered {
    explicit Rendered(const std::string& markup, const std::string& folder = "/nonexistent/")
        : doc(HtmlDocument::fromUtf8(markup)), styler(sheet), formats(kBaseSize, true)
    {
        sheet.addDocumentSheets(doc, folder);
        text.setUndoRedoEnabled(false);
        QTextCursor cursor(&text);
        HtmlRenderer renderer(styler, formats, QString::fromStdString(folder));
        renderer.renderElement(cursor, doc.body(), styler.computeFromRoot(doc.body()->parent), {}, ranges,
                               overlays);
    }

    // Block separators as "|", line breaks as "/", tabs as ">".
    std::string plain() const
    {
        QString raw = text.toRawText();
        raw.replace(QChar::ParagraphSeparator, u'|').replace(QChar::LineSeparator, u'/').replace(u'\t', u'>');
        return raw.toStdString();
    }
    HtmlRenderer::Range range(const char* id) const { return ranges.at(doc.elementById(id)); }
    std::string textOf(const char* id) const
    {
        const HtmlRenderer::Range r = range(id);
        return text.toRawText().mid(r.start, r.end - r.start).toStdString();
    }
    // The format of the character at `position`.
    QTextCharFormat formatAt(int position) const
    {
        QTextCursor cursor(const_cast<QTextDocument*>(&text));
        cursor.setPosition(position + 1);
        return cursor.charFormat();
    }
    QTextCharFormat formatOf(const char* id) const { return formatAt(range(id).start); }

    HtmlDocument doc;
    HtmlStyleSheet sheet;
    HtmlStyler styler;
    HtmlFormats formats;
    QTextDocument text;
    HtmlRenderer::Ranges ranges;
    HtmlRenderer::Overlays overlays;
};

TEST(HtmlRenderer, CollapsesWhiteSpaceAsBrowsersDo)
{
    const Rendered r("<body>\n  <p>  one \n\t two  <b> three </b>four<i> </i> five&nbsp;&nbsp;six </p>\n"
                     "  <p>\r\n</p><p>x<span> </span><span> </span>y</p></body>");
    EXPECT_EQ(r.plain(), "one two three four five\u00A0\u00A0six|x y");
}

TEST(HtmlRenderer, BreaksBlocksAndLines)
{
    const Rendered r("<body>text before<h1>Title</h1><div><div><p>para<br>next line</p></div>tail</div>"
                     "<p></p><p> </p><hr><blockquote>quoted</blockquote><br></body>");
    EXPECT_EQ(r.plain(), "text before|Title|para/next line|tail||quoted|/");
    const QTextBlock quote = r.text.findBlockByNumber(5);
    EXPECT_GT(quote.blockFormat().leftMargin(), 0);
    EXPECT_TRUE(r.text.findBlockByNumber(4).blockFormat().hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth));
}

TEST(HtmlRenderer, WritesListMarkersAsText)
{
    const Rendered r("<body><ul><li>one<li>two<ul><li>inner</ul></ul>"
                     "<ol start=3><li>three<li value=7>seven<li>eight</ol>"
                     "<ol type=a><li>a<li>b</ol><ol type=I><li>i<li>ii<li>iii<li>iv</ol>"
                     "<ul style=\"list-style-type: none\"><li>plain</ul><li>loose</body>");
    EXPECT_EQ(r.plain(), "\u2022 one|\u2022 two|\u2022 inner|3. three|7. seven|8. eight|a. a|b. b|"
                         "I. i|II. ii|III. iii|IV. iv|plain|\u2022 loose");
    EXPECT_GT(r.text.findBlockByNumber(2).blockFormat().leftMargin(),
              r.text.findBlockByNumber(1).blockFormat().leftMargin());
    EXPECT_EQ(r.text.findBlockByNumber(3).blockFormat().intProperty(HtmlFormats::kMarkerLength), 3);
}

TEST(HtmlRenderer, FlattensTablesRowByRow)
{
    const Rendered r("<body><table><caption>Costs</caption><tr><th>Item<th>Price</tr>"
                     "<tr><td> Bread </td><td><p>2</p></td></tr><tr><td></td><td>3</td></tr></table>after</body>");
    EXPECT_EQ(r.plain(), "Costs|Item>Price|Bread|2|3|after");
    EXPECT_EQ(r.formatAt(6).fontWeight(), QFont::Bold);
}

TEST(HtmlRenderer, KeepsTheLinesOfPreformattedText)
{
    const Rendered r("<body><pre>\nfirst  line\r\n   second\tline\n</pre><p style=\"white-space: pre\">a  b</p></body>");
    EXPECT_EQ(r.plain(), "first  line/   second>line/|a  b");
    EXPECT_TRUE(r.formatAt(0).fontFixedPitch());
}

TEST(HtmlRenderer, MakesLinksAnchorsWithTheirHrefAsWritten)
{
    const Rendered r("<body><p>Before <a id=l href=\"speechgen0002.smil#tcp8\">Here <b id=b>is</b></a> "
                     "<a id=n name=top>not a link</a></p></body>");
    const QTextCharFormat link = r.formatOf("l");
    EXPECT_TRUE(link.isAnchor());
    EXPECT_EQ(link.anchorHref(), "speechgen0002.smil#tcp8");
    EXPECT_EQ(r.formatOf("b").anchorHref(), "speechgen0002.smil#tcp8");
    EXPECT_EQ(r.formatOf("b").fontWeight(), QFont::Bold);
    EXPECT_FALSE(r.formatOf("n").isAnchor());
    EXPECT_FALSE(r.formatAt(r.range("l").start - 1).isAnchor());  // the spaces around a link
    EXPECT_FALSE(r.formatAt(r.range("l").end).isAnchor());
}

TEST(HtmlRenderer, ShowsImagesThatExistAndPassesOverOthers)
{
    test::TempDir dir;
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString path = QString::fromStdString((dir.path() / "images").string());
    std::filesystem::create_directories(dir.path() / "images");
    ASSERT_TRUE(picture.save(path + "/pic one.png"));
    const Rendered r("<body><p>a<img id=i src=\"images/pic%20one.png\" alt=\"A red box\">b"
                     "<img id=m src=\"images/missing.png\">c<img src=\"http://example.org/x.png\">"
                     "<img src=\"images\\pic one.png\" width=80></p></body>",
                     dir.folder());
    EXPECT_EQ(r.plain(), "a\uFFFCbc\uFFFC");
    const QTextImageFormat image = r.formatAt(1).toImageFormat();
    EXPECT_EQ(QUrl(image.name()).toLocalFile(), path + "/pic one.png");
    EXPECT_EQ(image.width(), 40);
    EXPECT_EQ(image.toolTip(), "A red box");
    EXPECT_EQ(r.formatAt(4).toImageFormat().height(), 40);
    EXPECT_EQ(r.range("m").start, r.range("m").end);
}

TEST(HtmlRenderer, TurnsStylesIntoFormats)
{
    const Rendered r("<html><head><style>.red { color: #ff0000 } .gone { display: none }"
                     "span.page { display: block; text-align: right }</style></head><body>"
                     "<p id=p>plain <span id=r class=red>red</span> <i id=i>it</i> <u id=u>un</u> "
                     "<s id=s>st</s> <big id=big>big</big> <small id=small>small</small> "
                     "<span id=g class=gone>gone</span><sub id=sub>2</sub></p>"
                     "<span id=page class=page>12</span><h2 id=h>Head</h2><script>x()</script>"
                     "<p id=mark><span id=m style=\"background-color: #ff8000\">marked</span></p></body></html>");
    EXPECT_EQ(r.plain(), "plain red it un st big small 2|12|Head|marked");
    EXPECT_EQ(r.formatOf("r").foreground().color(), QColor(255, 0, 0));
    EXPECT_TRUE(r.formatOf("i").fontItalic());
    EXPECT_TRUE(r.formatOf("u").fontUnderline());
    EXPECT_TRUE(r.formatOf("s").fontStrikeOut());
    EXPECT_GT(r.formatOf("big").fontPointSize(), kBaseSize);
    EXPECT_LT(r.formatOf("small").fontPointSize(), kBaseSize);
    EXPECT_EQ(r.formatOf("sub").verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_EQ(r.range("g").start, r.range("g").end);
    EXPECT_EQ(r.text.findBlock(r.range("page").start).blockFormat().alignment() & Qt::AlignRight, Qt::AlignRight);
    EXPECT_EQ(r.formatOf("h").fontWeight(), QFont::Bold);
    EXPECT_GT(r.formatOf("h").fontPointSize(), kBaseSize);
    // A colour marker leaves the text's format as it was and is painted over it.
    EXPECT_EQ(r.formatOf("m"), r.formatOf("p"));
    ASSERT_EQ(r.overlays.count(r.doc.elementById("m")), 1u);
    EXPECT_EQ(r.overlays.at(r.doc.elementById("m")).background().color(), QColor(255, 128, 0));
}

TEST(HtmlRenderer, NotesTheRangesOfElements)
{
    const Rendered r("<body><h1 id=h>Head</h1><p id=p> <span id=a> first</span> <span id=b>second </span>"
                     "<span id=e></span></p><p id=q>third<a name=anchor></a></p><div id=hidden style=\"display:none\">"
                     "x</div><p id=last>end</p></body>");
    EXPECT_EQ(r.plain(), "Head|first second|third|end");
    EXPECT_EQ(r.textOf("h"), "Head");
    EXPECT_EQ(r.textOf("p"), "first second");
    EXPECT_EQ(r.textOf("a"), "first");  // the space before belongs to what came before
    EXPECT_EQ(r.textOf("b"), "second");
    // Without content an element stands where the next content begins.
    EXPECT_EQ(r.range("e").start, r.range("q").start);
    EXPECT_EQ(r.range("hidden").start, r.range("last").start);
    EXPECT_EQ(r.ranges.at(r.doc.body()).start, 0);
    EXPECT_EQ(r.ranges.at(r.doc.body()).end, static_cast<int>(r.text.characterCount()) - 1);
}

// The text and every format of representative documents, as they have been
// shown all along.
TEST(HtmlRenderer, ShowsRepresentativeDocumentsAsBefore)
{
    const struct {
        const char* name;
        std::string markup;
        std::string styled;
    } cases[] = {
        {"headings", "<body><h1 id=h1>Title</h1><h2>Sub &amp; more</h2><h3>Three</h3><p>plain <b>bold</b> <i>it</i> "
                     "<a href=\"s.smil#1\">link <b>in</b></a> &lt;tag&gt;</p></body>",
         "{dir0 t13 b9}<pt20 w700>Title|{dir0 t10 b7}<pt15 w700>Sub & more"
         "|{dir0 t8 b5}<pt11.5 w700>Three"
         "|{dir0 b7}plain <w700>bold <i>it <fg#ff0000ee ul1 a href=s.smil#1>link "
         "<fg#ff0000ee w700 ul1 a href=s.smil#1>in <tag>"},
        {"lists", "<body><ul><li>one<li>two<ul><li>inner</ul></ul><ol start=3><li>three<li value=7>seven</ol>"
                  "<ol type=a><li><p>para</p></ol><dl><dt>term<dd>meaning</dl></body>",
         "{dir0 l20 mk2}\u2022 one|{dir0 l20 mk2}\u2022 two|{dir0 l40 mk2}\u2022 inner"
         "|{dir0 l20 mk3}3. three|{dir0 l20 mk3}7. seven|{dir0 b7 l20 mk3}a. para"
         "|{dir0}<w700>term|{dir0 l20}meaning"},
        {"table", "<body><table><caption>Costs</caption><tr><th>Item<th>Price</tr><tr><td> Bread </td>"
                  "<td><p>2</p></td></tr><tr><td></td><td>3</td></tr></table>after</body>",
         "{dir0 al4 b4}Costs|{dir0}<w700>Item><w700>Price|{dir0}Bread|{dir0 b7}2|{dir0}3"
         "|{dir0}after"},
        {"c1 and entities", "<body><p title=\"a\xC2\x92" "b\">It\xC2\x92s &#147;q&#148; &#146; &eacute;&nbsp;&#8217; "
                            "&unknown; &amp;amp; \xC2\x80</p></body>",
         "{dir0 b7}It\u2019s \u201Cq\u201D \u2019 \u00E9\u00A0\u2019 &unknown; &amp; \u20AC"},
        {"ids and white space", "<body>\n <div id=d>\n\t<p id=a>  one\n two </p>\n <p id=e></p> <span id=s> "
                                "three </span>\r\n<pre id=pre>\n  x\n y</pre><p>a<br id=br>b</p><hr id=hr>"
                                "<blockquote><p>q</p></blockquote></div>\n</body>",
         "{dir0 b7}one two|{dir0}three|{dir0 b7}<fam=monospace fixed>  x/ y|{dir0 b7}a/b"
         "|{dir0 t3 b3 hr}|{dir0 b7 l20}q"},
        {"style sheet", "<html><head><style>.red { color: #ff0000 } span.page { display: block; text-align: right }"
                        "</style></head><body><p><span class=red>red</span> <u>u</u> <s>s</s> <big>big</big> "
                        "<small>small</small> H<sub>2</sub>O <tt>mono</tt> <span style=\"background-color: #ff8000\">"
                        "marked</span></p><span class=page>12</span><center>mid</center></body></html>",
         "{dir0 b7}<fg#ffff0000>red <ul1>u <s>s <pt11.5>big <pt8.5>small H<pt8.5 va2>2O "
         "<fam=monospace fixed>mono marked"
         "|{dir0 al18}12|{dir0 al4}mid"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(test::styledText(Rendered(c.markup).text), c.styled) << c.name;

    // A long text shows as its parts do.
    std::string markup = "<body>";
    std::string styled;
    const std::string one = test::styledText(Rendered("<body><p id=p>Word <b>bold</b>\n\t words.</p></body>").text);
    for (int i = 0; i < 2000; ++i) {
        markup += "<p id=p" + std::to_string(i) + ">Word <b>bold</b>\n\t words.</p>\n";
        styled += (i > 0 ? "|" : "") + one;
    }
    EXPECT_EQ(test::styledText(Rendered(markup + "</body>").text), styled);
}

}  // namespace
}  // namespace korvin
