// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmlrenderer.h"

#include "book/textdecoder.h"
#include "desktop/html/htmlformats.h"
#include "desktop/html/htmlnode.h"
#include "desktop/html/htmlstyler.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QTextImageFormat>
#include <QTextLength>
#include <QUrl>

#include <algorithm>
#include <cstdlib>

namespace korvin {
namespace {

constexpr int kMaxImageWidth = 800;

bool isCollapsible(QChar ch)
{
    return ch == u' ' || ch == u'\t' || ch == u'\n' || ch == u'\r' || ch == u'\f';
}

bool isBlank(const xmlChar* text)
{
    for (; *text; ++text) {
        if (*text != ' ' && *text != '\t' && *text != '\n' && *text != '\r' && *text != '\f')
            return false;
    }
    return true;
}

bool isList(const xmlNode* node)
{
    const std::string_view name = HtmlNode::name(node);
    return name == "ol" || name == "ul" || name == "dir" || name == "menu";
}

// Elements whose content drops the line break right after the start tag.
bool isPreformattedElement(const xmlNode* element)
{
    const std::string_view name = HtmlNode::name(element);
    return name == "pre" || name == "listing" || name == "xmp" || name == "textarea";
}

bool records(const xmlNode* element, const HtmlStyle& style)
{
    if (!HtmlNode::attribute(element, "id").empty() || style.isOverlay())
        return true;
    const std::string_view name = HtmlNode::name(element);
    return name == "body" || (name == "a" && !HtmlNode::attribute(element, "name").empty());
}

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString roman(int number, bool upper)
{
    static constexpr std::pair<int, const char*> kDigits[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"}, {10, "x"}, {9, "ix"}, {5, "v"}, {4, "iv"}, {1, "i"}};
    if (number <= 0 || number >= 4000)
        return QString::number(number);
    QString out;
    for (const auto& [value, digits] : kDigits) {
        while (number >= value) {
            out += QLatin1String(digits);
            number -= value;
        }
    }
    return upper ? out.toUpper() : out;
}

QString alphabetic(int number, bool upper)
{
    if (number <= 0)
        return QString::number(number);
    QString out;
    while (number > 0) {
        --number;
        out.prepend(QChar(static_cast<char16_t>((upper ? u'A' : u'a') + number % 26)));
        number /= 26;
    }
    return out;
}

int pixels(std::string_view value)
{
    return value.empty() ? 0 : std::max(0, std::atoi(std::string(value).c_str()));
}

QString hrefAround(const xmlNode* node)
{
    for (; HtmlNode::isElement(node); node = node->parent) {
        if (HtmlNode::name(node) == "a" && HtmlNode::hasAttribute(node, "href"))
            return fromUtf8(HtmlNode::attribute(node, "href"));
    }
    return {};
}

}  // namespace

HtmlRenderer::HtmlRenderer(const HtmlStyler& styler, HtmlFormats& formats, QString folder)
    : m_styler(styler), m_formats(formats), m_folder(std::move(folder))
{
}

void HtmlRenderer::renderElement(QTextCursor& cursor, const xmlNode* element, const HtmlStyle& parentStyle,
                                 StartState state, Ranges& ranges, Overlays& overlays)
{
    run(&cursor, element, true, parentStyle, state, ranges, overlays);
}

void HtmlRenderer::renderContent(QTextCursor& cursor, const xmlNode* element, const HtmlStyle& style,
                                 StartState state, Ranges& ranges, Overlays& overlays)
{
    run(&cursor, element, false, style, state, ranges, overlays);
}

void HtmlRenderer::measureContent(const xmlNode* element, const HtmlStyle& style, StartState state, int at,
                                  Ranges& ranges, Overlays& overlays)
{
    m_measured = at;
    run(nullptr, element, false, style, state, ranges, overlays);
}

int HtmlRenderer::position() const
{
    return m_cursor ? m_cursor->position() : m_measured;
}

void HtmlRenderer::write(const QString& text, const QTextCharFormat& format)
{
    if (m_cursor)
        m_cursor->insertText(text, format);
    else
        m_measured += static_cast<int>(text.size());
}

void HtmlRenderer::run(QTextCursor* cursor, const xmlNode* element, bool includeSelf, const HtmlStyle& style,
                       StartState state, Ranges& ranges, Overlays& overlays)
{
    m_cursor = cursor;
    m_ranges = &ranges;
    m_overlays = &overlays;
    m_frames.clear();
    m_pendingStarts.clear();
    m_pendingEmpty.clear();
    m_atBlockStart = state.atBlockStart;
    m_afterSpace = state.afterSpace || state.atBlockStart;
    m_needBlock = false;
    m_pendingSpace = false;
    m_pendingCell = false;
    m_skipNewline = false;
    m_marker.clear();
    m_startsBeforeMarker = m_emptyBeforeMarker = 0;

    Frame base;
    base.node = includeSelf ? element->parent : element;
    base.style = style;
    base.href = hrefAround(base.node);
    if (HtmlNode::name(base.node) == "ol" && HtmlNode::hasAttribute(base.node, "start"))
        base.counter = std::atoi(std::string(HtmlNode::attribute(base.node, "start")).c_str());
    if (!includeSelf) {
        base.records = true;
        m_pendingStarts.push_back(element);
    }
    m_frames.push_back(base);
    // One edit for the whole run: the cursor then skips working out its
    // place in the layout after every insertion.
    if (cursor)
        cursor->beginEditBlock();
    if (state.needBlock)
        requestBlock(style);
    if (!includeSelf && style.preformatted && isPreformattedElement(element))
        m_skipNewline = true;

    const xmlNode* node = includeSelf ? element : element->children;
    while (true) {
        if (node) {
            const xmlNode* current = node;
            if (current->type == XML_ELEMENT_NODE) {
                if (enter(current)) {
                    node = current->children;
                    continue;
                }
            } else if (current->type == XML_TEXT_NODE) {
                text(current);
            }
            node = includeSelf && current == element ? nullptr : current->next;
            continue;
        }
        if (m_frames.size() == 1)
            break;
        const xmlNode* finished = m_frames.back().node;
        leave();
        node = includeSelf && finished == element ? nullptr : finished->next;
    }

    const int end = position();
    if (!includeSelf) {
        const auto pending = std::find(m_pendingStarts.begin(), m_pendingStarts.end(), element);
        if (pending == m_pendingStarts.end())
            ranges[element].end = end;
        // As when the element itself is left: what follows a block begins a new one.
        if (style.isBlock())
            m_needBlock = true;
    }
    for (const xmlNode* open : m_pendingStarts)
        ranges[open] = Range{end, end};
    for (const xmlNode* empty : m_pendingEmpty)
        ranges[empty] = Range{end, end};
    m_pendingStarts.clear();
    m_pendingEmpty.clear();
    m_frames.clear();
    if (cursor)
        cursor->endEditBlock();
    m_cursor = nullptr;
}

bool HtmlRenderer::enter(const xmlNode* element)
{
    const Frame& parent = m_frames.back();
    const HtmlStyle style = m_styler.compute(element, parent.style);
    const bool recorded = records(element, style);
    if (style.display == HtmlDisplay::None) {
        if (recorded)
            noteEmpty(element);
        return false;
    }
    const std::string_view name = HtmlNode::name(element);
    if (name == "br") {
        lineBreak(element, style);
        return false;
    }
    if (name == "img") {
        image(element, style);
        return false;
    }
    if (name == "hr") {
        rule(element, style);
        return false;
    }
    if (HtmlNode::isVoid(element)) {
        if (recorded)
            noteEmpty(element);
        return false;
    }

    Frame frame;
    frame.node = element;
    frame.style = style;
    frame.href = parent.href;
    frame.records = recorded;
    if (name == "a" && HtmlNode::hasAttribute(element, "href"))
        frame.href = fromUtf8(HtmlNode::attribute(element, "href"));
    if (name == "ol" && HtmlNode::hasAttribute(element, "start"))
        frame.counter = std::atoi(std::string(HtmlNode::attribute(element, "start")).c_str());
    m_frames.push_back(std::move(frame));

    if (recorded) {
        m_pendingStarts.push_back(element);
        if (style.isOverlay())
            m_overlays->emplace(element, m_formats.overlayFormat(style));
    }
    if (style.isBlock()) {
        requestBlock(style);
        if (style.display == HtmlDisplay::ListItem) {
            m_marker = marker(element, style);
            m_markerFormat = m_formats.charFormat(style);
            // The marker belongs to the item: what began before the item
            // begins before its marker.
            m_startsBeforeMarker = m_pendingStarts.size() - (recorded ? 1 : 0);
            m_emptyBeforeMarker = m_pendingEmpty.size();
        }
    } else if (style.display == HtmlDisplay::TableCell) {
        m_pendingCell = true;
    }
    if (style.preformatted && isPreformattedElement(element))
        m_skipNewline = true;
    return true;
}

void HtmlRenderer::leave()
{
    const Frame frame = std::move(m_frames.back());
    m_frames.pop_back();
    if (frame.records) {
        const auto pending = std::find(m_pendingStarts.rbegin(), m_pendingStarts.rend(), frame.node);
        if (pending != m_pendingStarts.rend()) {
            m_pendingStarts.erase(std::next(pending).base());
            m_pendingEmpty.push_back(frame.node);
        } else {
            (*m_ranges)[frame.node].end = position();
        }
    }
    if (frame.style.display == HtmlDisplay::ListItem) {
        m_marker.clear();
        m_startsBeforeMarker = m_emptyBeforeMarker = 0;
    }
    if (frame.style.isBlock())
        requestBlock(m_frames.back().style);
}

void HtmlRenderer::noteEmpty(const xmlNode* element)
{
    m_pendingEmpty.push_back(element);
}

void HtmlRenderer::requestBlock(const HtmlStyle& style)
{
    m_needBlock = true;
    m_blockFormat = m_formats.blockFormat(style);
    m_pendingSpace = false;
    m_pendingCell = false;
}

void HtmlRenderer::materialize()
{
    if (m_needBlock) {
        QTextBlockFormat format = m_blockFormat;
        if (!m_marker.isEmpty())
            format.setProperty(HtmlFormats::kMarkerLength, static_cast<int>(m_marker.size()));
        if (!m_cursor) {
            m_measured += m_atBlockStart ? 0 : 1;
        } else if (m_atBlockStart) {
            // An empty block is taken over; a list marker already in it stays.
            const QTextBlockFormat current = m_cursor->blockFormat();
            if (m_marker.isEmpty() && current.hasProperty(HtmlFormats::kMarkerLength))
                format.setProperty(HtmlFormats::kMarkerLength, current.property(HtmlFormats::kMarkerLength));
            m_cursor->setBlockFormat(format);
        } else {
            m_cursor->insertBlock(format, QTextCharFormat());
        }
        m_needBlock = false;
        m_atBlockStart = true;
        m_afterSpace = true;
        m_pendingCell = false;
        if (!m_marker.isEmpty()) {
            const int position = this->position();
            const auto before = m_pendingStarts.begin()
                                + static_cast<std::ptrdiff_t>(std::min(m_startsBeforeMarker, m_pendingStarts.size()));
            for (auto element = m_pendingStarts.begin(); element != before; ++element)
                (*m_ranges)[*element] = Range{position, position};
            m_pendingStarts.erase(m_pendingStarts.begin(), before);
            const auto emptyBefore = m_pendingEmpty.begin()
                                     + static_cast<std::ptrdiff_t>(std::min(m_emptyBeforeMarker, m_pendingEmpty.size()));
            for (auto element = m_pendingEmpty.begin(); element != emptyBefore; ++element)
                (*m_ranges)[*element] = Range{position, position};
            m_pendingEmpty.erase(m_pendingEmpty.begin(), emptyBefore);
            write(m_marker, m_markerFormat);
            m_marker.clear();
            m_atBlockStart = false;
        }
    }
    if (m_pendingCell) {
        if (!m_atBlockStart)
            write(QStringLiteral("\t"), QTextCharFormat());
        m_afterSpace = true;
        m_pendingCell = false;
    }
    if (m_pendingSpace) {
        if (!m_afterSpace)
            write(QStringLiteral(" "), m_spaceFormat);
        m_pendingSpace = false;
    }
    m_skipNewline = false;
    const int position = this->position();
    for (const xmlNode* element : m_pendingStarts)
        (*m_ranges)[element] = Range{position, position};
    for (const xmlNode* element : m_pendingEmpty)
        (*m_ranges)[element] = Range{position, position};
    m_pendingStarts.clear();
    m_pendingEmpty.clear();
}

QTextCharFormat HtmlRenderer::charFormat(const Frame& frame, const HtmlStyle& style)
{
    if (!m_cursor)
        return {};  // only places are measured
    if (frame.href.isEmpty())
        return m_formats.charFormat(style);
    QTextCharFormat format = m_formats.charFormat(style);
    format.setAnchor(true);
    format.setAnchorHref(frame.href);
    return format;
}

bool HtmlRenderer::measureText(std::string_view text)
{
    // The characters text() writes, counted in UTF-16 as the document counts
    // them, without making them.
    if (!isValidUtf8(text))
        return false;
    int kept = 0;
    bool space = false;  // inside this text
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r' || byte == '\f') {
            if (kept > 0)
                space = true;
            else
                m_pendingSpace = true;
            continue;
        }
        if ((byte & 0xC0) == 0x80)
            continue;  // a continuation of the character counted
        if (space) {
            ++kept;
            space = false;
        }
        kept += byte >= 0xF0 ? 2 : 1;
    }
    if (kept > 0) {
        materialize();
        m_measured += kept;
        m_atBlockStart = false;
        m_afterSpace = false;
        m_pendingSpace = space;
    }
    return true;
}

void HtmlRenderer::text(const xmlNode* node)
{
    if (!node->content)
        return;
    const Frame& frame = m_frames.back();
    if (!m_cursor && !frame.style.preformatted && measureText(reinterpret_cast<const char*>(node->content)))
        return;
    // White space alone (between the blocks of a long text, most often) only
    // waits to be written.
    if (!frame.style.preformatted && isBlank(node->content)) {
        if (*node->content && !m_pendingSpace) {
            m_pendingSpace = true;
            m_spaceFormat = charFormat(frame, frame.style);
        }
        return;
    }
    QString content = QString::fromUtf8(reinterpret_cast<const char*>(node->content));
    if (content.isEmpty())
        return;
    const QTextCharFormat format = charFormat(frame, frame.style);

    if (frame.style.preformatted) {
        content.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        content.remove(u'\r');
        if (m_skipNewline && content.startsWith(u'\n'))
            content.remove(0, 1);
        m_skipNewline = false;
        if (content.isEmpty())
            return;
        materialize();
        content.replace(u'\n', QChar::LineSeparator);
        write(content, format);
        const QChar last = content.back();
        m_afterSpace = isCollapsible(last) || last == QChar::LineSeparator;
        m_atBlockStart = false;
        return;
    }

    // White space folds in place: what is kept never runs ahead of what is read.
    QChar* const characters = content.data();
    const qsizetype length = content.size();
    qsizetype kept = 0;
    bool space = false;  // inside this text
    for (qsizetype i = 0; i < length; ++i) {
        const QChar ch = characters[i];
        if (isCollapsible(ch)) {
            // Leading white space joins what came before; it is written, if
            // at all, only when more content follows, in the format of the
            // text where it began.
            if (kept > 0) {
                space = true;
            } else if (!m_pendingSpace) {
                m_pendingSpace = true;
                m_spaceFormat = format;
            }
            continue;
        }
        if (space) {
            characters[kept++] = u' ';
            space = false;
        }
        characters[kept++] = ch;
    }
    if (kept == 0)
        return;
    content.truncate(kept);
    materialize();
    write(content, format);
    m_atBlockStart = false;
    m_afterSpace = false;
    if (space) {
        m_pendingSpace = true;
        m_spaceFormat = format;
    }
}

void HtmlRenderer::lineBreak(const xmlNode* element, const HtmlStyle& style)
{
    const bool recorded = records(element, style);
    if (recorded)
        m_pendingStarts.push_back(element);
    m_pendingSpace = false;  // white space before a line break is not shown
    materialize();
    write(QString(QChar::LineSeparator), charFormat(m_frames.back(), style));
    m_atBlockStart = false;
    m_afterSpace = true;
    if (recorded)
        (*m_ranges)[element].end = position();
}

QString HtmlRenderer::imagePath(const xmlNode* element) const
{
    const std::string_view source = HtmlNode::attribute(element, "src");
    if (source.empty())
        return {};
    QString text = fromUtf8(source).trimmed();
    text.replace(u'\\', u'/');
    if (text.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return QUrl(text).toLocalFile();
    if (text.contains(QLatin1String("://")) || text.startsWith(QLatin1String("data:"), Qt::CaseInsensitive))
        return {};
    const QString path = QUrl::fromPercentEncoding(text.section(u'#', 0, 0).section(u'?', 0, 0).toUtf8());
    return QDir::cleanPath(QDir::isAbsolutePath(path) ? path : m_folder + path);
}

void HtmlRenderer::image(const xmlNode* element, const HtmlStyle& style)
{
    const bool recorded = records(element, style);
    const QString path = imagePath(element);
    QSize size;
    if (!path.isEmpty() && QFileInfo(path).isFile())
        size = QImageReader(path).size();
    if (!size.isValid() || size.isEmpty()) {
        if (recorded)
            noteEmpty(element);
        return;
    }
    int width = pixels(HtmlNode::attribute(element, "width"));
    int height = pixels(HtmlNode::attribute(element, "height"));
    if (width > 0 && height <= 0)
        height = size.height() * width / size.width();
    else if (height > 0 && width <= 0)
        width = size.width() * height / size.height();
    else if (width <= 0 && height <= 0)
        width = size.width(), height = size.height();
    if (width > kMaxImageWidth) {
        height = height * kMaxImageWidth / width;
        width = kMaxImageWidth;
    }

    if (recorded)
        m_pendingStarts.push_back(element);
    materialize();
    QTextImageFormat format;
    format.merge(charFormat(m_frames.back(), style));
    format.setName(QUrl::fromLocalFile(path).toString());
    format.setWidth(width);
    format.setHeight(height);
    const std::string_view alt = HtmlNode::attribute(element, "alt");
    if (!alt.empty())
        format.setToolTip(fromUtf8(alt));
    if (m_cursor)
        m_cursor->insertImage(format);
    else
        ++m_measured;
    m_atBlockStart = false;
    m_afterSpace = false;
    if (recorded)
        (*m_ranges)[element].end = position();
}

void HtmlRenderer::rule(const xmlNode* element, const HtmlStyle& style)
{
    const bool recorded = records(element, style);
    requestBlock(style);
    m_blockFormat.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth,
                              QTextLength(QTextLength::PercentageLength, 100));
    m_marker.clear();
    if (recorded)
        m_pendingStarts.push_back(element);
    materialize();
    m_atBlockStart = false;  // the ruled block is used up
    if (recorded)
        (*m_ranges)[element].end = position();
    requestBlock(m_frames.back().style);
}

QString HtmlRenderer::marker(const xmlNode* item, const HtmlStyle& style)
{
    int number = 1;
    Frame* list = nullptr;
    for (auto frame = m_frames.rbegin() + 1; frame != m_frames.rend(); ++frame) {
        if (isList(frame->node)) {
            list = &*frame;
            break;
        }
    }
    if (list)
        number = list->counter;
    if (HtmlNode::hasAttribute(item, "value"))
        number = std::atoi(std::string(HtmlNode::attribute(item, "value")).c_str());
    if (list)
        list->counter = number + 1;

    switch (style.listStyle) {
    case HtmlListStyle::None: return {};
    case HtmlListStyle::Disc: return QStringLiteral("\u2022 ");
    case HtmlListStyle::Circle: return QStringLiteral("\u25E6 ");
    case HtmlListStyle::Square: return QStringLiteral("\u25AA ");
    case HtmlListStyle::Decimal: return QString::number(number) + QStringLiteral(". ");
    case HtmlListStyle::LowerAlpha: return alphabetic(number, false) + QStringLiteral(". ");
    case HtmlListStyle::UpperAlpha: return alphabetic(number, true) + QStringLiteral(". ");
    case HtmlListStyle::LowerRoman: return roman(number, false) + QStringLiteral(". ");
    case HtmlListStyle::UpperRoman: return roman(number, true) + QStringLiteral(". ");
    }
    return {};
}

}  // namespace korvin
