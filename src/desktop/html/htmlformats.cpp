// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmlformats.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QStringList>

#include <cmath>

namespace korvin {
namespace {

constexpr std::uint32_t kSet = 0x1000000;  // marks a colour as given
constexpr std::uint32_t kOverlay = 0x80000000;  // a marker's colours, not a text's format
constexpr qreal kPixelsPerPoint = 96.0 / 72.0;
constexpr qreal kIndentWidthInLines = 1.5;

QColor colorOf(std::uint32_t rgb)
{
    return QColor::fromRgb(static_cast<QRgb>(rgb & 0xFFFFFF));
}

}  // namespace

const QTextCharFormat& HtmlFormats::charFormat(const HtmlStyle& style)
{
    Key key;
    key.flags = (style.bold ? 1u : 0u) | (style.italic ? 2u : 0u) | (style.underline ? 4u : 0u)
                | (style.strikeOut ? 8u : 0u) | (style.overline ? 16u : 0u) | (style.monospace ? 32u : 0u)
                | (static_cast<std::uint32_t>(style.verticalAlign) << 8);
    // Sizes in steps of 1/20 of the base size: near-equal scales share a format.
    key.scale = static_cast<std::int32_t>(std::lround(style.fontScale * 20));
    key.color = style.color ? (*style.color | kSet) : 0;
    key.background = style.background ? (*style.background | kSet) : 0;
    const auto found = m_cache.find(key);
    if (found != m_cache.end())
        return found->second;

    QTextCharFormat format;
    if (style.bold)
        format.setFontWeight(QFont::Bold);
    if (style.italic)
        format.setFontItalic(true);
    if (style.underline)
        format.setFontUnderline(true);
    if (style.strikeOut)
        format.setFontStrikeOut(true);
    if (style.overline)
        format.setFontOverline(true);
    if (style.monospace) {
        format.setFontFamilies(QStringList{QStringLiteral("monospace")});
        format.setFontFixedPitch(true);
    }
    if (style.verticalAlign == HtmlVerticalAlign::Super)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (style.verticalAlign == HtmlVerticalAlign::Sub)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (key.scale != 20)
        format.setFontPointSize(m_basePointSize * key.scale / 20.0);
    if (style.color)
        format.setForeground(colorOf(*style.color));
    if (style.background)
        format.setBackground(colorOf(*style.background));
    return m_cache.emplace(key, format).first->second;
}

const QTextBlockFormat& HtmlFormats::blockFormat(const HtmlStyle& style)
{
    const qreal line = m_basePointSize * style.fontScale * kPixelsPerPoint;
    BlockKey key;
    key.align = static_cast<std::uint32_t>(style.align);
    // -1 where no margin is set.
    key.top = style.marginTop > 0 ? std::round(style.marginTop * line) : -1;
    key.bottom = style.marginBottom > 0 ? std::round(style.marginBottom * line) : -1;
    key.left = style.indent > 0 ? std::round(style.indent * kIndentWidthInLines * m_basePointSize * kPixelsPerPoint) : -1;
    const auto found = m_blockCache.find(key);
    if (found != m_blockCache.end())
        return found->second;

    QTextBlockFormat format;
    if (m_leftToRight)
        format.setLayoutDirection(Qt::LeftToRight);
    switch (style.align) {
    case HtmlAlign::Left: format.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute); break;
    case HtmlAlign::Right: format.setAlignment(Qt::AlignRight | Qt::AlignAbsolute); break;
    case HtmlAlign::Center: format.setAlignment(Qt::AlignHCenter); break;
    case HtmlAlign::Justify: format.setAlignment(Qt::AlignJustify); break;
    case HtmlAlign::Start: break;
    }
    if (key.top >= 0)
        format.setTopMargin(key.top);
    if (key.bottom >= 0)
        format.setBottomMargin(key.bottom);
    if (key.left >= 0)
        format.setLeftMargin(key.left);
    return m_blockCache.emplace(key, format).first->second;
}

const QTextCharFormat& HtmlFormats::overlayFormat(const HtmlStyle& style)
{
    // Kept with the text's own formats, told apart by a flag no style sets.
    Key key;
    key.flags = kOverlay;
    key.color = style.overlayColor ? (*style.overlayColor | kSet) : 0;
    key.background = style.overlayBackground ? (*style.overlayBackground | kSet) : 0;
    const auto found = m_cache.find(key);
    if (found != m_cache.end())
        return found->second;
    QTextCharFormat format;
    if (style.overlayColor)
        format.setForeground(colorOf(*style.overlayColor));
    if (style.overlayBackground)
        format.setBackground(colorOf(*style.overlayBackground));
    return m_cache.emplace(key, format).first->second;
}

}  // namespace korvin
