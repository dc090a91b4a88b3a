// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/html/htmlstyle.h"

#include <libxml/tree.h>

#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

#include <cstddef>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace korvin {

class HtmlFormats;
class HtmlStyler;

// Writes parsed HTML into a text document through a cursor, in one pass.
//
// Blocks: headings, paragraphs, divisions, list items (with their marker as
// text, "• " or "3. "), table rows (cells follow each other, parted by a tab),
// pre (lines kept), blockquote and lists indented, hr as a ruled empty block.
// Inline: text with HTML's white-space collapsing, br as a line break, links
// as anchors with their href as written, images that exist below the
// document's folder (others are passed over). Elements shown as none are
// skipped.
//
// The renderer notes the range of every element with an id, of the body, of
// named anchors (<a name>) and of every colour marker span
// (HtmlStyle::isOverlay): from its first character (after any space or block
// break that came before it; a list item's marker belongs to the item) to the
// end of its last one; an element without content sits where the next
// content begins. Given
// the state of the text before the insertion point, rendering an element's
// content alone gives the same characters and formats as rendering the whole
// document did there; the text view relies on that to re-render one element.
class HtmlRenderer {
public:
    struct Range {
        int start = 0;
        int end = 0;
    };
    using Ranges = std::unordered_map<const xmlNode*, Range>;
    // Marker spans and the colours they paint.
    using Overlays = std::unordered_map<const xmlNode*, QTextCharFormat>;

    // The text just before the insertion point.
    struct StartState {
        bool atBlockStart = true;  // nothing but a list marker before it in its block
        bool afterSpace = true;    // a white space or a line start just before it
        bool needBlock = false;    // the content begins a block of its own (this one, when empty)
    };

    // `folder` (ending in "/") is where relative image sources are found.
    HtmlRenderer(const HtmlStyler& styler, HtmlFormats& formats, QString folder);

    // Renders `element` with everything below it; `parentStyle` is the style of
    // its parent.
    void renderElement(QTextCursor& cursor, const xmlNode* element, const HtmlStyle& parentStyle,
                       StartState state, Ranges& ranges, Overlays& overlays);
    // Renders only what is below `element`, whose own style is `style`. The
    // element's range is noted as well.
    void renderContent(QTextCursor& cursor, const xmlNode* element, const HtmlStyle& style, StartState state,
                       Ranges& ranges, Overlays& overlays);

    // Works out the ranges renderContent() would note for content beginning
    // at the text position `at`, without writing anything.
    void measureContent(const xmlNode* element, const HtmlStyle& style, StartState state, int at, Ranges& ranges,
                        Overlays& overlays);

    // Whether what follows the last rendered content has to begin a new block.
    bool endsNeedingBlock() const { return m_needBlock; }

private:
    struct Frame {
        const xmlNode* node = nullptr;
        HtmlStyle style;
        QString href;  // of the link this content belongs to
        int counter = 1;  // the next list item's number
        bool records = false;
    };

    // Without a cursor, only measures.
    void run(QTextCursor* cursor, const xmlNode* element, bool includeSelf, const HtmlStyle& style,
             StartState state, Ranges& ranges, Overlays& overlays);
    int position() const;
    void write(const QString& text, const QTextCharFormat& format);
    // Returns whether a frame was pushed for the element's children.
    bool enter(const xmlNode* element);
    void leave();
    void text(const xmlNode* node);
    // text() when measuring; false when the text is no valid UTF-8.
    bool measureText(std::string_view text);
    void lineBreak(const xmlNode* element, const HtmlStyle& style);
    void image(const xmlNode* element, const HtmlStyle& style);
    void rule(const xmlNode* element, const HtmlStyle& style);
    void requestBlock(const HtmlStyle& style);
    void materialize();
    void noteEmpty(const xmlNode* element);
    QTextCharFormat charFormat(const Frame& frame, const HtmlStyle& style);
    QString marker(const xmlNode* item, const HtmlStyle& style);
    QString imagePath(const xmlNode* element) const;

    const HtmlStyler& m_styler;
    HtmlFormats& m_formats;
    QString m_folder;

    // State of one run.
    QTextCursor* m_cursor = nullptr;
    int m_measured = 0;  // characters, when measuring
    Ranges* m_ranges = nullptr;
    Overlays* m_overlays = nullptr;
    std::vector<Frame> m_frames;
    std::vector<const xmlNode*> m_pendingStarts;
    std::vector<const xmlNode*> m_pendingEmpty;
    bool m_atBlockStart = true;
    bool m_afterSpace = true;
    bool m_needBlock = false;
    bool m_pendingSpace = false;
    bool m_pendingCell = false;
    bool m_skipNewline = false;
    QTextBlockFormat m_blockFormat;
    QString m_marker;
    // How many of the pending starts and empty elements precede the marker.
    std::size_t m_startsBeforeMarker = 0;
    std::size_t m_emptyBeforeMarker = 0;
    QTextCharFormat m_markerFormat;
    QTextCharFormat m_spaceFormat;
};

}  // namespace korvin
