// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmlcontentupdater.h"

#include "desktop/html/htmlformats.h"
#include "desktop/html/htmlnode.h"

#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>
#include <unordered_set>
#include <vector>

namespace korvin {
namespace {

// One stretch of characters of the same format.
struct Run {
    int position = 0;  // from the start of the range
    int length = 0;
    QTextCharFormat format;
};

// The formatted stretches of [from, to) of a document, block separators left
// out.
std::vector<Run> runsOf(const QTextDocument& document, int from, int to)
{
    std::vector<Run> runs;
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = std::max(fragment.position(), from);
            const int end = std::min(fragment.position() + fragment.length(), to);
            if (start < end)
                runs.push_back(Run{start - from, end - start, fragment.charFormat()});
        }
    }
    return runs;
}

QString textOf(const QTextDocument& document, int from, int to)
{
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    return cursor.selectedText();
}

}  // namespace

HtmlContentUpdater::HtmlContentUpdater(QTextDocument& text, HtmlRenderer& renderer, HtmlRenderer::Ranges& ranges,
                                       HtmlRenderer::Overlays& overlays)
    : m_text(text), m_renderer(renderer), m_ranges(ranges), m_overlays(overlays)
{
}

HtmlRenderer::StartState HtmlContentUpdater::stateAt(int position, bool block) const
{
    const QTextBlock current = m_text.findBlock(position);
    const int offset = position - current.position();
    const int marker = current.blockFormat().intProperty(HtmlFormats::kMarkerLength);
    HtmlRenderer::StartState state;
    state.atBlockStart = offset == 0 || (marker > 0 && offset == marker);
    const QChar before = position > 0 ? m_text.characterAt(position - 1) : QChar();
    state.afterSpace = state.atBlockStart || before == u' ' || before == u'\t' || before == QChar::LineSeparator;
    state.needBlock = block;
    return state;
}

bool HtmlContentUpdater::remeasure(const xmlNode* element, const HtmlStyle& style, HtmlRenderer::Range old)
{
    // Noted straight into the view's notes: what stayed is noted where it
    // was. When the content does not cover the old range after all, the
    // text is brought in step as for any change, which notes all anew.
    m_added.clear();
    m_addedOverlays.clear();
    const std::size_t overlays = m_overlays.size();
    m_renderer.measureContent(element, style, stateAt(old.start, style.isBlock()), old.start, m_ranges, m_overlays);
    m_measuredOverlays = m_overlays.size() != overlays;
    const auto own = m_ranges.find(element);
    return own != m_ranges.end() && own->second.start == old.start && own->second.end == old.end;
}

void HtmlContentUpdater::prepare(const xmlNode* element, const HtmlStyle& style, HtmlRenderer::Range old)
{
    m_element = element;
    m_style = style;
    m_old = old;
    m_state = stateAt(old.start, style.isBlock());
    if (!m_scratch) {
        m_scratch = std::make_unique<QTextDocument>();
        m_scratch->setUndoRedoEnabled(false);
    }
    m_scratch->clear();
    m_added.clear();
    m_addedOverlays.clear();
    QTextCursor cursor(m_scratch.get());
    m_renderer.renderContent(cursor, element, style, m_state, m_added, m_addedOverlays);

    // Content that ends in a block needs a block break after it; the text may
    // have one there already.
    const int end = m_text.characterCount() - 1;
    const bool breakAfter = m_renderer.endsNeedingBlock() && old.end < end
                            && m_text.characterAt(old.end) != QChar::ParagraphSeparator;
    m_following = m_text.findBlock(old.end).blockFormat();
    m_sameText = !breakAfter
                 && textOf(*m_scratch, 0, m_scratch->characterCount() - 1) == textOf(m_text, old.start, old.end);
}

void HtmlContentUpdater::apply()
{
    if (m_sameText)
        applyFormats();
    else
        rewrite();
    for (auto& [node, format] : m_addedOverlays)
        m_overlays[node] = format;
}

void HtmlContentUpdater::applyFormats()
{
    QTextCursor cursor(&m_text);
    const std::vector<Run> now = runsOf(m_text, m_old.start, m_old.end);
    const std::vector<Run> wanted = runsOf(*m_scratch, 0, m_scratch->characterCount() - 1);
    // Both cover the same characters; walk them together.
    std::size_t i = 0;
    std::size_t j = 0;
    int nowUsed = 0;
    int wantedUsed = 0;
    while (i < now.size() && j < wanted.size()) {
        const int length = std::min(now[i].length - nowUsed, wanted[j].length - wantedUsed);
        if (now[i].format != wanted[j].format) {
            const int at = m_old.start + wanted[j].position + wantedUsed;
            cursor.setPosition(at);
            cursor.setPosition(at + length, QTextCursor::KeepAnchor);
            cursor.setCharFormat(wanted[j].format);
        }
        nowUsed += length;
        wantedUsed += length;
        if (nowUsed == now[i].length)
            ++i, nowUsed = 0;
        if (wantedUsed == wanted[j].length)
            ++j, wantedUsed = 0;
    }
    // Blocks that begin inside the range; the first one belongs to what
    // contains the element.
    for (QTextBlock block = m_scratch->begin().next(); block.isValid(); block = block.next()) {
        const QTextBlock target = m_text.findBlock(m_old.start + block.position());
        if (target.blockFormat() != block.blockFormat()) {
            cursor.setPosition(target.position());
            cursor.setBlockFormat(block.blockFormat());
        }
    }
    for (const auto& [node, range] : m_added)
        m_ranges[node] = HtmlRenderer::Range{m_old.start + range.start, m_old.start + range.end};
}

void HtmlContentUpdater::rewrite()
{
    const int lengthBefore = m_text.characterCount();
    QTextCursor cursor(&m_text);
    cursor.beginEditBlock();
    cursor.setPosition(m_old.start);
    cursor.setPosition(m_old.end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    m_added.clear();
    m_addedOverlays.clear();
    m_renderer.renderContent(cursor, m_element, m_style, m_state, m_added, m_addedOverlays);
    if (m_renderer.endsNeedingBlock() && cursor.position() < m_text.characterCount() - 1
        && m_text.characterAt(cursor.position()) != QChar::ParagraphSeparator)
        cursor.insertBlock(m_following, QTextCharFormat());
    cursor.endEditBlock();
    const int delta = m_text.characterCount() - lengthBefore;

    // What contains the element grows or shrinks at its end; what follows it
    // moves. An empty range that stands where the element stood follows it
    // only if it comes after the element in the document.
    std::unordered_set<const xmlNode*> ancestors;
    for (const xmlNode* up = m_element->parent; up; up = up->parent)
        ancestors.insert(up);
    for (auto& [node, range] : m_ranges) {
        if (node == m_element)
            continue;
        if (ancestors.count(node)) {
            range.end += delta;
        } else if (range.start > m_old.end
                   || (range.start == m_old.end
                       && (m_old.start < m_old.end || HtmlNode::precedes(m_element, node)))) {
            range.start += delta;
            range.end += delta;
        }
    }
    for (const auto& [node, range] : m_added)
        m_ranges[node] = range;
}

}  // namespace korvin
