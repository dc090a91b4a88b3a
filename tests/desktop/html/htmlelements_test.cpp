// SPDX-License-Identifier: GPL-3.0-or-later
// The search reads a document as the text view shows it: for every kind of
// element, the search's text equals the view's.

#include "desktop/html/htmlelements.h"

#include "desktop/html/htmldocument.h"
#include "desktop/html/htmlformats.h"
#include "desktop/html/htmlnode.h"
#include "desktop/html/htmlrenderer.h"
#include "desktop/html/htmlstyler.h"
#include "desktop/html/htmlstylesheet.h"
#include "desktop/html/htmltextdocuments.h"

#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvin {
namespace {

// Lines without the empty ones: a ruled or empty block shows as a line of its
// own in the view, while for the search any break between blocks is one.
std::string lines(const QString& text)
{
    std::string out;
    for (const QString& line : text.split(u'\n')) {
        if (line.trimmed().isEmpty())
            continue;
        if (!out.empty())
            out += '\n';
        out += line.toStdString();
    }
    return out;
}

// What the view shows of `markup`, list markers left out.
std::string shown(const std::string& markup)
{
    const HtmlDocument document = HtmlDocument::fromUtf8(markup);
    HtmlStyleSheet sheet;
    const HtmlStyler styler(sheet);
    HtmlFormats formats(10, true);
    QTextDocument text;
    QTextCursor cursor(&text);
    HtmlRenderer renderer(styler, formats, QStringLiteral("/nonexistent/"));
    HtmlRenderer::Ranges ranges;
    HtmlRenderer::Overlays overlays;
    renderer.renderElement(cursor, document.body(), styler.computeFromRoot(document.body()->parent), {}, ranges,
                           overlays);
    QString out;
    for (QTextBlock block = text.begin(); block.isValid(); block = block.next())
        out += block.text().mid(block.blockFormat().property(HtmlFormats::kMarkerLength).toInt()) + u'\n';
    out.replace(QChar::LineSeparator, u'\n').replace(QChar::Nbsp, u' ');
    return lines(out);
}

std::string searched(const std::string& markup)
{
    return lines(QString::fromStdString(HtmlTextDocuments::textOf(markup).text));
}

// Each element where a book would have it, with text before, in and after it;
// "y  y" shows whether its white space is kept.
std::string markupWith(std::string_view name)
{
    const std::string e(name);
    if (e == "li")
        return "<p>a</p><ul><li>x</li><li>y  y</li></ul>z<p>b</p>";
    if (e == "tr")
        return "<p>a</p><table><tr><td>x</td></tr><tr><td>y  y</td><td>w</td></tr></table>z<p>b</p>";
    if (e == "td" || e == "th")
        return "<p>a</p><table><tr><" + e + ">x</" + e + "><" + e + ">y  y</" + e + "></tr></table>z<p>b</p>";
    if (e == "tbody" || e == "thead" || e == "tfoot")
        return "<p>a</p>x<table><" + e + "><tr><td>y  y</td></tr></" + e + "></table>z<p>b</p>";
    if (e == "caption")
        return "<p>a</p>x<table><caption>y  y</caption><tr><td>w</td></tr></table>z<p>b</p>";
    if (HtmlNode::isVoidName(name))
        return "<p>a</p>x<" + e + ">z<p>b</p>";
    return "<p>a</p>x<" + e + ">y  y</" + e + ">z<p>b</p>";
}

TEST(HtmlElements, TheSearchReadsEveryKindOfElementAsTheViewShowsIt)
{
    std::vector<std::string_view> names;
    for (const HtmlElement& element : htmlElements()) {
        // The document's frame: the parser puts these where they belong.
        if (element.name != "html" && element.name != "head" && element.name != "body")
            names.push_back(element.name);
    }
    // Inline text, and names no one knows.
    for (const std::string_view name : {"span", "b", "a", "font", "br", "img", "textarea", "button", "blink"})
        names.push_back(name);
    for (const std::string_view name : names) {
        const std::string markup = markupWith(name);
        EXPECT_EQ(searched(markup), shown(markup)) << markup;
    }
}

}  // namespace
}  // namespace korvin
