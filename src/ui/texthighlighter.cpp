// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/texthighlighter.h"

#include <cstring>

#include "book/textcase.h"
#include "ui/markuptext.h"

namespace korvin {

namespace {

constexpr std::size_t kCloseLength = 7;

bool contains(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

bool equalsIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && lowerCase(a) == lowerCase(b);
}

// The style that decides when several are set: background, text colour, bold, italic.
enum class Look { kNone, kBackground, kTextColour, kBold, kItalic };

Look lookOf(const TextStyle& style)
{
    if (style.background)
        return Look::kBackground;
    if (style.textColour)
        return Look::kTextColour;
    if (style.bold)
        return Look::kBold;
    if (style.italic)
        return Look::kItalic;
    return Look::kNone;
}

}  // namespace

TextHighlighter::TextHighlighter(HtmlView& view)
    : m_view(view)
{
}

std::string TextHighlighter::termOpenMarkup(const TextStyle& style)
{
    switch (lookOf(style)) {
    case Look::kBackground:
        return "<span style=\"BACKGROUND-COLOR: " + style.colour + "\">";
    case Look::kTextColour:
        return "<span style=\"COLOR: " + style.colour + "\">";
    case Look::kBold:
        return "<span style=\"FONT-WEIGHT: BOLD\">";
    case Look::kItalic:
        return "<span style=\"FONT-STYLE: ITALIC\">";
    case Look::kNone:
        break;
    }
    return {};
}

std::string TextHighlighter::fragmentOpenMarkup(const TextStyle& style)
{
    switch (lookOf(style)) {
    case Look::kBackground:
        return "<SPAN style=\"BACKGROUND-COLOR: " + style.colour + "\">";
    case Look::kTextColour:
        return "<SPAN style=\"COLOR: " + style.colour + "\">";
    case Look::kBold:
        return "<SPAN style=\"FONT-WEIGHT: bold\">";
    case Look::kItalic:
        return "<SPAN style=\"FONT-STYLE: italic\">";
    case Look::kNone:
        break;
    }
    return {};
}

void TextHighlighter::documentLoaded()
{
    m_lastMarkedDocument.clear();
    m_lastFragmentId.clear();
    m_lastDocumentKey.clear();
}

// ---------------------------------------------------------------------------
// Search term

void TextHighlighter::markSearchTerm(const std::string& term, const Context& context)
{
    if (context.startPage)
        return;
    const std::string location = m_view.locationName();

    if (location == m_lastMarkedDocument && term != m_lastTerm)
        removeTermMarking();

    // Without a style there is nothing to open the span with, and a lone
    // closing tag would end a span of the document's own.
    const std::string markup = termOpenMarkup(context.style);
    if (!markup.empty())
        m_termOpenMarkup = markup;

    const bool wanted = !context.textSearchMode && !term.empty() &&
                        (location != m_lastMarkedDocument || term != m_lastTerm) && !m_termOpenMarkup.empty() &&
                        !contains(location, "ncc.html") && !contains(location, "NCC.HTML") &&
                        !contains(location, "start_de.html") && !contains(location, "start_en.html");
    if (wanted) {
        if (const auto outer = m_view.bodyOuterHtml()) {
            // Only the text is marked: a term that stands in a tag or an
            // attribute ("span", "color") would break the markup around it.
            std::string html;
            html.reserve(outer->size());
            std::size_t copied = 0;
            for (const MarkupText::Range& range : MarkupText::find(*outer, term)) {
                html.append(*outer, copied, range.begin - copied);
                html += m_termOpenMarkup;
                html.append(*outer, range.begin, range.end - range.begin);
                html += kCloseMarkup;
                copied = range.end;
            }
            html.append(*outer, copied);
            m_view.setBodyInnerHtml(html);
            m_lastMarkedDocument = location;
        }
    }
    m_lastTerm = term;
}

// The marking is found again by its open markup, followed by text that reads
// as the term and the closing markup, as the marking left them.
void TextHighlighter::removeTermMarking()
{
    if (m_lastTerm.empty() || m_termOpenMarkup.empty())
        return;
    const auto inner = m_view.bodyInnerHtml();
    if (!inner)
        return;
    const std::string& html = *inner;
    const std::string lower = lowerCase(html);
    const std::string open = lowerCase(m_termOpenMarkup);
    // Copied in one pass: a long document marked in many places must not be
    // moved once for every place.
    std::string kept;
    kept.reserve(html.size());
    std::size_t copied = 0;
    std::size_t from = 0;
    std::size_t at;
    while ((at = lower.find(open, from)) != std::string::npos) {
        const std::size_t content = at + open.size();
        const std::size_t close = lower.find('<', content);
        if (close == std::string::npos || lower.compare(close, kCloseLength, "</span>") != 0 ||
            lowerCase(MarkupText::decode(std::string_view(html).substr(content, close - content))) != m_lastTerm) {
            from = at + 1;
            continue;
        }
        kept.append(html, copied, at - copied);
        kept.append(html, content, close - content);
        copied = from = close + kCloseLength;
    }
    kept.append(html, copied);
    m_view.setBodyInnerHtml(kept);
}

// ---------------------------------------------------------------------------
// Fragment

void TextHighlighter::highlightFragment(const std::string& fragmentId, const Context& context)
{
    if (context.startPage || !context.bookOpen)
        return;
    const std::string location = m_view.locationName();
    const std::string documentKey = context.bookFolder + location;
    if (contains(location, "start_de.html") || contains(location, "start_en.html"))
        return;

    const bool same = equalsIgnoringCase(fragmentId, m_lastFragmentId) && equalsIgnoringCase(documentKey, m_lastDocumentKey);
    if (!same && m_view.hasDocument()) {
        if (!m_lastFragmentId.empty() && equalsIgnoringCase(documentKey, m_lastDocumentKey) &&
            context.bookInfo == m_lastBookInfo)
            removeFragmentHighlight();

        const std::string markup = fragmentOpenMarkup(context.style);
        if (!markup.empty())
            m_fragmentOpenMarkup = markup;

        if (const auto inner = m_view.elementInnerHtml(fragmentId)) {
            if (!m_fragmentOpenMarkup.empty())
                m_view.setElementInnerHtml(fragmentId, m_fragmentOpenMarkup + *inner + kCloseMarkup);
            m_view.scrollIntoView(fragmentId);
            const int viewHeight = m_view.viewHeight();
            const int scrollHeight = m_view.bodyScrollHeight();
            const int top = m_view.scrollTop();
            // Centre the element, unless the document ends within the view.
            if (scrollHeight - top > viewHeight)
                m_view.setScrollTop(top - viewHeight / 2);
            else
                m_view.setScrollTop(scrollHeight);
        }
        m_lastFragmentId = fragmentId;
    }
    m_lastDocumentKey = documentKey;
    m_lastBookInfo = context.bookInfo;
}

void TextHighlighter::removeFragmentHighlight()
{
    auto inner = m_view.elementInnerHtml(m_lastFragmentId);
    if (!inner)
        return;
    std::string html = *inner;
    if (!m_fragmentOpenMarkup.empty()) {
        const std::size_t open = html.find(m_fragmentOpenMarkup);
        if (open != std::string::npos) {
            html.erase(open, m_fragmentOpenMarkup.size());
            // The highlight's own closing markup is the one it appended at the
            // end; the first one after the opening would often close a span of
            // the text itself (a sentence span) and unbalance the element.
            std::size_t close = std::string::npos;
            if (html.size() >= kCloseLength && html.compare(html.size() - kCloseLength, kCloseLength, kCloseMarkup) == 0)
                close = html.size() - kCloseLength;
            else
                close = html.find(kCloseMarkup, open);
            if (close != std::string::npos)
                html.erase(close, kCloseLength);
        }
    }
    m_view.setElementInnerHtml(m_lastFragmentId, html);
}

}  // namespace korvin
