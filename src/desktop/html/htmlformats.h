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
    QTextBlockFormat blockFormat(const HtmlStyle& style) const;
    // The colours a marker span paints over its range.
    static QTextCharFormat overlayFormat(const HtmlStyle& style);

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

    qreal m_basePointSize;
    bool m_leftToRight;
    std::unordered_map<Key, QTextCharFormat, KeyHash> m_cache;
};

}  // namespace korvin
