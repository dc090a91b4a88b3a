// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/html/htmlrenderer.h"
#include "desktop/html/htmlstyle.h"

#include <libxml/tree.h>

#include <QTextBlockFormat>
#include <QTextDocument>

#include <memory>

namespace korvin {

// Brings a shown text document in step with one element whose content was set
// anew, leaving the rest of the text alone.
//
// The new content is first rendered apart, starting from the state the text
// is in where the element begins. When that gives the same characters as the
// element's range shows now (marker spans came or went), only the formats
// that differ are set; the caret, the selection and the layout of the rest
// stay. Otherwise the range is written anew and the ranges after it move.
class HtmlContentUpdater {
public:
    // `text` is the shown document and `ranges` / `overlays` the renderer's
    // notes about it, which apply() keeps in step. All must outlive the
    // updater. The element's old content must already be gone from `ranges`.
    HtmlContentUpdater(QTextDocument& text, HtmlRenderer& renderer, HtmlRenderer::Ranges& ranges,
                       HtmlRenderer::Overlays& overlays);

    // For new content that renders as the old did (their HtmlRenderSignature
    // is the same): notes where what it holds stands, leaving the text alone.
    // False, and nothing noted, when it does not cover the range `old` after
    // all; prepare() and apply() then bring the text in step.
    bool remeasure(const xmlNode* element, const HtmlStyle& style, HtmlRenderer::Range old);

    // Renders the new content of `element`, whose own style is `style`, for
    // the range it covered before (`old`).
    void prepare(const xmlNode* element, const HtmlStyle& style, HtmlRenderer::Range old);
    // Whether the new content shows the same characters as the range now.
    bool sameText() const { return m_sameText; }
    // Sets the new formats, or writes the range anew.
    void apply();
    // Whether the new content has colour markers.
    bool hasOverlays() const { return m_measuredOverlays || !m_addedOverlays.empty(); }

private:
    HtmlRenderer::StartState stateAt(int position, bool block) const;
    void applyFormats();
    void rewrite();

    QTextDocument& m_text;
    HtmlRenderer& m_renderer;
    HtmlRenderer::Ranges& m_ranges;
    HtmlRenderer::Overlays& m_overlays;

    const xmlNode* m_element = nullptr;
    HtmlStyle m_style;
    HtmlRenderer::Range m_old;
    HtmlRenderer::StartState m_state;
    std::unique_ptr<QTextDocument> m_scratch;  // the new content rendered apart
    HtmlRenderer::Ranges m_added;
    HtmlRenderer::Overlays m_addedOverlays;
    QTextBlockFormat m_following;  // of the block after the range
    bool m_sameText = false;
    bool m_measuredOverlays = false;
};

}  // namespace korvin
