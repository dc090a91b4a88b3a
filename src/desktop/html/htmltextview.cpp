// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmltextview.h"

#include "book/textdecoder.h"
#include "desktop/html/htmlcontentupdater.h"
#include "desktop/html/htmllinktarget.h"
#include "desktop/html/htmlnode.h"

#include <QAbstractTextDocumentLayout>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <QUrl>

#include <limits>

#include <sys/stat.h>

namespace korvin {
namespace {

constexpr int kDocumentMargin = 8;

QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

}  // namespace

HtmlTextView::HtmlTextView(QWidget* parent) : QTextBrowser(parent)
{
    setReadOnly(true);
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setUndoRedoEnabled(false);
    setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse
                            | Qt::LinksAccessibleByKeyboard | Qt::LinksAccessibleByMouse);
    // A scroll bar that comes and goes would change the width, and with it
    // the layout of the whole text.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { coverShownOverlays(); });
}

HtmlTextView::~HtmlTextView()
{
    closeEdit();
}

void HtmlTextView::navigate(const std::string& location)
{
    std::string url;
    std::string path;
    std::string fragment;
    bool hasFragment = false;
    if (isValidUtf8(location)) {
        const HtmlLinkTarget target = HtmlLinkTarget::ofLocation(QString::fromStdString(location));
        url = target.url();
        path = QFile::encodeName(target.path).toStdString();
        fragment = target.fragment.toStdString();
        hasFragment = target.hasFragment;
    } else {
        // Text would lose the bytes that are not UTF-8, and with them the file.
        path = location;
        struct stat status {};
        const std::size_t hash = path.find('#');
        if (hash != std::string::npos && ::stat(path.c_str(), &status) != 0) {
            fragment = path.substr(hash + 1);
            path.resize(hash);
            hasFragment = true;
        }
        if (!path.empty() && path.front() != '/')
            path = QFile::encodeName(QDir::currentPath()).toStdString() + '/' + path;
        url = hasFragment ? path + '#' + fragment : path;
    }
    bool cancel = false;
    if (m_listener)
        m_listener->beforeNavigate(url, cancel);
    if (cancel)
        return;
    load(path);
    if (!hasFragment || !scrollToFragment(fragment))
        verticalScrollBar()->setValue(0);
    completeLater();
}

void HtmlTextView::activateLink(const QString& href)
{
    if (href.trimmed().isEmpty())
        return;
    const HtmlLinkTarget target = HtmlLinkTarget::ofHref(href, m_location);
    bool cancel = false;
    if (m_listener)
        m_listener->beforeNavigate(target.url(), cancel);
    if (cancel)
        return;
    if (!target.external.isEmpty()) {
        // Another program's business: only when the listener says so.
        if (m_externalLinks.ask(this, target.external))
            QDesktopServices::openUrl(QUrl(target.external));
        return;
    }
    if (m_document && target.path == m_location) {
        if (target.hasFragment)
            scrollToFragment(target.fragment.toStdString());
        return;
    }
    load(QFile::encodeName(target.path).toStdString());
    if (!target.hasFragment || !scrollToFragment(target.fragment.toStdString()))
        verticalScrollBar()->setValue(0);
    completeLater();
}

void HtmlTextView::completeLater()
{
    const std::string location = m_locationBytes;
    QMetaObject::invokeMethod(
        this,
        [this, location] {
            if (m_listener)
                m_listener->documentComplete(location);
        },
        Qt::QueuedConnection);
}

void HtmlTextView::load(const std::string& path)
{
    closeEdit();
    // A document retired before and still waiting goes now.
    m_retired.reset();
    m_retired.emplace();
    m_retired->document = std::exchange(m_document, std::nullopt);
    m_retired->ranges = std::exchange(m_ranges, {});
    m_retired->overlays = std::exchange(m_overlays, {});
    std::optional<HtmlDocument> loaded;
    if (!path.empty())
        loaded = HtmlDocument::load(std::filesystem::path(path));
    const QString pathText = QFile::decodeName(QByteArray::fromStdString(path));
    if (!loaded) {
        const QString name = path.empty() ? QString() : QFileInfo(pathText).fileName();
        loaded = HtmlDocument::fromUtf8(("<html><body><p>" + escaped(name) + "</p></body></html>").toStdString());
    }
    m_document = std::move(loaded);
    m_locationBytes = path;
    m_location = pathText;
    m_folder = path.empty() ? QString() : QFileInfo(pathText).absolutePath() + u'/';
    m_ranges.reserve(m_document->idCount() + 16);
    m_rewrites = 0;
    setExtraSelections({});

    m_sheet = HtmlStyleSheet();
    m_sheet.addDocumentSheets(*m_document,
                              std::filesystem::path(path.substr(0, path.rfind('/') + 1)));
    m_formats = std::make_unique<HtmlFormats>(font().pointSizeF() > 0 ? font().pointSizeF() : 12.0,
                                              !m_document->hasRightToLeft());

    // Built apart and handed over whole: the view and the screen reader see
    // one new document, not thousands of insertions.
    auto* text = new QTextDocument(this);
    text->setUndoRedoEnabled(false);
    text->setDefaultFont(font());
    text->setDocumentMargin(kDocumentMargin);
    QTextCursor cursor(text);
    HtmlRenderer renderer(m_styler, *m_formats, m_folder);
    const xmlNode* body = m_document->body();
    renderer.renderElement(cursor, body, m_styler.computeFromRoot(body->parent), {}, m_ranges, m_overlays);
    QTextDocument* previous = document();
    if (previous && previous->parent() == this) {
        previous->setParent(nullptr);
        m_retired->text.reset(previous);
    }
    setDocument(text);
    setTextCursor(QTextCursor(text));
    updateOverlays();
    QTimer::singleShot(0, this, [this] { m_retired.reset(); });
}

std::string HtmlTextView::locationName() const
{
    return m_document ? m_locationBytes : std::string();
}

std::optional<std::string> HtmlTextView::bodyInnerHtml() const
{
    if (!m_document)
        return std::nullopt;
    return m_document->innerHtml(m_document->body());
}

std::optional<std::string> HtmlTextView::bodyOuterHtml() const
{
    if (!m_document)
        return std::nullopt;
    return m_document->outerHtml(m_document->body());
}

bool HtmlTextView::setBodyInnerHtml(const std::string& html)
{
    return m_document && replaceContent(m_document->body(), html);
}

bool HtmlTextView::hasElement(const std::string& id) const
{
    return m_document && m_document->elementById(id);
}

std::optional<std::string> HtmlTextView::elementInnerHtml(const std::string& id) const
{
    const xmlNode* element = m_document ? m_document->elementById(id) : nullptr;
    if (!element)
        return std::nullopt;
    return m_document->innerHtml(element);
}

std::optional<std::string> HtmlTextView::elementOuterHtml(const std::string& id) const
{
    const xmlNode* element = m_document ? m_document->elementById(id) : nullptr;
    if (!element)
        return std::nullopt;
    return m_document->outerHtml(element);
}

bool HtmlTextView::setElementInnerHtml(const std::string& id, const std::string& html)
{
    xmlNode* element = m_document ? m_document->elementById(id) : nullptr;
    return element && replaceContent(element, html);
}

std::optional<std::pair<int, int>> HtmlTextView::elementRange(const std::string& id) const
{
    const xmlNode* element = m_document ? m_document->elementById(id) : nullptr;
    const auto found = element ? m_ranges.find(element) : m_ranges.end();
    if (found == m_ranges.end())
        return std::nullopt;
    return std::make_pair(found->second.start, found->second.end);
}

void HtmlTextView::openEdit(int from, int to)
{
    constexpr int kNear = 4000;  // characters: a few paragraphs apart
    if (m_editOpen && (from > m_editTo + kNear || to < m_editFrom - kNear))
        closeEdit();
    if (m_editOpen) {
        m_editFrom = std::min(m_editFrom, from);
        m_editTo = std::max(m_editTo, to);
        return;
    }
    m_edit = QTextCursor(document());
    m_edit.beginEditBlock();
    m_editOpen = true;
    m_editFrom = from;
    m_editTo = to;
    QTimer::singleShot(0, this, [this] { closeEdit(); });
}

void HtmlTextView::closeEdit() const
{
    if (!m_editOpen)
        return;
    m_editOpen = false;
    m_edit.endEditBlock();
    m_edit = QTextCursor();
}

bool HtmlTextView::event(QEvent* event)
{
    closeEdit();
    return QTextBrowser::event(event);
}

bool HtmlTextView::viewportEvent(QEvent* event)
{
    closeEdit();
    if (event->type() == QEvent::Paint)
        coverShownOverlays();
    return QTextBrowser::viewportEvent(event);
}

bool HtmlTextView::replaceContent(xmlNode* element, const std::string& html)
{
    const auto found = m_ranges.find(element);
    const bool shown = found != m_ranges.end();
    const HtmlRenderer::Range old = shown ? found->second : HtmlRenderer::Range{};
    bool overlaysChanged = false;
    const HtmlDocument::Change change = m_document->replaceInnerHtml(
        element, html,
        [&](const xmlNode* gone) {
            m_ranges.erase(gone);
            overlaysChanged |= m_overlays.erase(gone) > 0;
        },
        [this](const xmlNode* node) { return m_styler.isMarker(node); });
    if (change == HtmlDocument::Change::kRefused)
        return false;
    const HtmlStyle style = shown ? m_styler.computeFromRoot(element) : HtmlStyle();
    if (shown && style.display != HtmlDisplay::None) {
        HtmlRenderer renderer(m_styler, *m_formats, m_folder);
        HtmlContentUpdater updater(*document(), renderer, m_ranges, m_overlays);
        // Markers put in or taken out (a search term marked all through the
        // text) leave the text as it is: only where things stand is noted.
        if (change != HtmlDocument::Change::kMarkers || !updater.remeasure(element, style, old)) {
            updater.prepare(element, style, old);
            if (updater.sameText()) {
                openEdit(old.start, old.end);
            } else {
                closeEdit();
                ++m_rewrites;
            }
            updater.apply();
        }
        overlaysChanged |= updater.hasOverlays();
    }
    if (overlaysChanged)
        updateOverlays();
    return true;
}

std::pair<int, int> HtmlTextView::shownRange() const
{
    const int top = verticalScrollBar()->value();
    const QTextBlock first = laidOutBlockAbove(top);
    const QTextBlock last = laidOutBlockAbove(top + viewport()->height());
    return {first.position(), last.position() + last.length()};
}

void HtmlTextView::coverShownOverlays()
{
    if (!m_overlaysWindowed)
        return;
    const auto [from, to] = shownRange();
    if (from < m_overlayWindow.first || to > m_overlayWindow.second)
        updateOverlays();
}

void HtmlTextView::updateOverlays()
{
    // The view takes every marker it is given as a cursor of the document
    // that each edit moves, works out where each new one is shown (laying the
    // text out that far), and goes through all of them for every block it
    // paints. So of many markers only those near the place shown are given,
    // and more as the view moves on.
    constexpr std::size_t kAll = 200;
    constexpr int kAround = 10000;  // characters, a few screens
    m_overlayWindow = {0, std::numeric_limits<int>::max()};
    m_overlaysWindowed = m_overlays.size() > kAll;
    if (m_overlaysWindowed) {
        const auto [from, to] = shownRange();
        m_overlayWindow = {std::max(0, from - kAround), to + kAround};
    }
    struct Painted {
        HtmlRenderer::Range range;
        const QTextCharFormat* format;
    };
    std::vector<Painted> painted;
    for (const auto& [node, format] : m_overlays) {
        const auto range = m_ranges.find(node);
        if (range != m_ranges.end() && range->second.start < range->second.end
            && range->second.end >= m_overlayWindow.first && range->second.start <= m_overlayWindow.second)
            painted.push_back(Painted{range->second, &format});
    }
    // Outer markers first, so that a marker inside another paints over it.
    std::sort(painted.begin(), painted.end(), [](const Painted& a, const Painted& b) {
        if (a.range.start != b.range.start)
            return a.range.start < b.range.start;
        return a.range.end > b.range.end;
    });
    QList<QTextEdit::ExtraSelection> selections;
    selections.reserve(static_cast<qsizetype>(painted.size()));
    for (const Painted& item : painted) {
        QTextEdit::ExtraSelection selection;
        selection.cursor = QTextCursor(document());
        selection.cursor.setPosition(item.range.start);
        selection.cursor.setPosition(item.range.end, QTextCursor::KeepAnchor);
        selection.format = *item.format;
        selections.push_back(selection);
    }
    setExtraSelections(selections);
}

bool HtmlTextView::scrollToFragment(const std::string& name)
{
    if (!m_document || name.empty())
        return false;
    const xmlNode* element = m_document->elementById(name);
    if (!element) {
        // An anchor named <a name="...">, as older documents mark their places.
        const xmlNode* root = m_document->root();
        for (const xmlNode* node = root; node && !element; node = HtmlNode::next(root, node)) {
            if (HtmlNode::isElement(node) && HtmlNode::name(node) == "a"
                && HtmlNode::attribute(node, "name") == name)
                element = node;
        }
    }
    return element && scrollToElement(element);
}

void HtmlTextView::refreshScrollRange(qreal height) const
{
    // The view works its range out from what is laid out so far, but only
    // when the layout says its size changed, which it says later.
    emit document()->documentLayout()->documentSizeChanged(QSizeF(document()->textWidth(), height));
}

QTextBlock HtmlTextView::laidOutBlockAbove(qreal y) const
{
    // The last block that begins at or above y among those laid out: blocks
    // are laid out in order, so a search that takes one not yet laid out for
    // one further down lays out nothing.
    const QTextDocument* text = document();
    QAbstractTextDocumentLayout* layout = text->documentLayout();
    int low = 0;
    int high = text->blockCount() - 1;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        const QTextBlock block = text->findBlockByNumber(middle);
        if (block.layout()->lineCount() > 0 && layout->blockBoundingRect(block).top() <= y)
            low = middle;
        else
            high = middle - 1;
    }
    return text->findBlockByNumber(low);
}

HtmlTextView::LaidOut HtmlTextView::layOutTo(int y, int ahead) const
{
    closeEdit();
    const QTextDocument* text = document();
    QAbstractTextDocumentLayout* layout = text->documentLayout();
    QTextBlock block = laidOutBlockAbove(y);
    qreal bottom = layout->blockBoundingRect(block).bottom();
    while (bottom < y && block.next().isValid()) {
        block = block.next();
        bottom = layout->blockBoundingRect(block).bottom();
    }
    if (ahead > 0 && block.next().isValid()) {
        block = text->findBlock(std::min(text->characterCount() - 1, block.position() + block.length() + ahead));
        bottom = layout->blockBoundingRect(block).bottom();
    }
    return LaidOut{bottom, !block.next().isValid()};
}

void HtmlTextView::ensureScrollable(int top) const
{
    refreshScrollRange(layOutTo(top + viewport()->height(), 0).bottom);
}

bool HtmlTextView::scrollToElement(const xmlNode* element)
{
    const auto found = m_ranges.find(element);
    if (found == m_ranges.end())
        return false;
    const int position = found->second.start;
    closeEdit();
    const QTextBlock block = document()->findBlock(position);
    qreal y = document()->documentLayout()->blockBoundingRect(block).top();
    if (const QTextLayout* layout = block.layout(); layout && layout->lineCount() > 0) {
        const QTextLine line = layout->lineForTextPosition(position - block.position());
        if (line.isValid())
            y += line.y();
    }
    ensureScrollable(qRound(y));
    verticalScrollBar()->setValue(qRound(y));
    return true;
}

bool HtmlTextView::scrollIntoView(const std::string& id)
{
    const xmlNode* element = m_document ? m_document->elementById(id) : nullptr;
    return element && scrollToElement(element);
}

int HtmlTextView::bodyScrollHeight() const
{
    // A short text, or the end of a long one, is laid out to its end and
    // measured exactly. Otherwise the height is the view's estimate, and at
    // least the height laid out, which reaches a view below the scroll top:
    // enough to tell whether the text ends within the view.
    constexpr int kAhead = 20000;  // characters, a few milliseconds of layout
    const LaidOut laidOut = layOutTo(scrollTop() + viewport()->height() + 1, kAhead);
    if (laidOut.complete) {
        const qreal height = document()->documentLayout()->documentSize().height();
        refreshScrollRange(height);
        return qRound(height);
    }
    refreshScrollRange(laidOut.bottom);
    return std::max(qRound(laidOut.bottom), verticalScrollBar()->maximum() + viewport()->height());
}

int HtmlTextView::scrollTop() const
{
    return verticalScrollBar()->value();
}

void HtmlTextView::setScrollTop(int top)
{
    ensureScrollable(top);
    verticalScrollBar()->setValue(top);
}

int HtmlTextView::viewHeight() const
{
    return viewport()->height();
}

QString HtmlTextView::hrefAt(int position) const
{
    const QTextBlock block = document()->findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.contains(position)) {
            const QTextCharFormat format = fragment.charFormat();
            return format.isAnchor() ? format.anchorHref() : QString();
        }
    }
    return {};
}

void HtmlTextView::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        const QTextCursor cursor = textCursor();
        // A link Tab selected, or the one the caret stands in (or just after).
        QString href = hrefAt(cursor.hasSelection() ? cursor.selectionStart() : cursor.position());
        if (href.isEmpty() && !cursor.hasSelection() && cursor.position() > 0)
            href = hrefAt(cursor.position() - 1);
        if (!href.isEmpty()) {
            event->accept();
            activateLink(href);
            return;
        }
    }
    QTextBrowser::keyPressEvent(event);
}

void HtmlTextView::mousePressEvent(QMouseEvent* event)
{
    m_pressedHref = event->button() == Qt::LeftButton ? anchorAt(event->position().toPoint()) : QString();
    QTextBrowser::mousePressEvent(event);
}

void HtmlTextView::mouseReleaseEvent(QMouseEvent* event)
{
    const QString pressed = std::exchange(m_pressedHref, QString());
    QTextBrowser::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && !pressed.isEmpty() && !textCursor().hasSelection()
        && anchorAt(event->position().toPoint()) == pressed)
        activateLink(pressed);
}

}  // namespace korvin
