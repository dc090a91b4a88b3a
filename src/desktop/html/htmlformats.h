// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/html/htmlstyle.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextFormat>

#include <cstddef>
#include <cstdint>
#include <unordered_map>

namespace korvin {

// Turns element styles into the text document's formats. Equal styles give the
// same format object, so a long document uses only a handful of formats.
class HtmlFormats {
public:
    // How many characters of a block are its list marker ("1. ", "• ").
    static constexpr int kMarkerLength = QTextFormat::UserProperty + 1;

    // `basePointSize` is the size of the view's font, which a scale of 1 keeps.
    // With `leftToRight` every block is laid out left to right without looking
    // for the direction of its text, which makes laying out a long text again
    // after a change much quicker; give it only for text without
    // right-to-left script.
    HtmlFormats(qreal basePointSize, bool leftToRight)
        : m_basePointSize(basePointSize), m_leftToRight(leftToRight)
    {
    }

    const QTextCharFormat& charFormat(const HtmlStyle& style);
    const QTextBlockFormat& blockFormat(const HtmlStyle& style);
    // The colours a marker span paints over its range.
    const QTextCharFormat& overlayFormat(const HtmlStyle& style);

private:
    struct Key {
        std::uint32_t flags = 0;
        std::int32_t scale = 0;
        std::uint32_t color = 0;
        std::uint32_t background = 0;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const
        {
            std::size_t hash = key.flags;
            hash = hash * 1000003u ^ static_cast<std::uint32_t>(key.scale);
            hash = hash * 1000003u ^ key.color;
            hash = hash * 1000003u ^ key.background;
            return hash;
        }
    };

    // A block format by its margins in pixels and its alignment.
    struct BlockKey {
        std::uint32_t align = 0;
        qreal top = 0;
        qreal bottom = 0;
        qreal left = 0;
        bool operator==(const BlockKey&) const = default;
    };
    struct BlockKeyHash {
        std::size_t operator()(const BlockKey& key) const
        {
            std::size_t hash = key.align;
            for (const qreal value : {key.top, key.bottom, key.left})
                hash = hash * 1000003u ^ static_cast<std::size_t>(value + 1);
            return hash;
        }
    };

    qreal m_basePointSize;
    bool m_leftToRight;
    std::unordered_map<Key, QTextCharFormat, KeyHash> m_cache;
    std::unordered_map<BlockKey, QTextBlockFormat, BlockKeyHash> m_blockCache;
};

}  // namespace korvin
