// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/html/externallinkquestion.h"
#include "desktop/html/htmldocument.h"
#include "desktop/html/htmlformats.h"
#include "desktop/html/htmlrenderer.h"
#include "desktop/html/htmlstylesheet.h"
#include "desktop/html/htmlstyler.h"
#include "platform/htmlview.h"

#include <QString>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace korvin {

// The text view: shows an HtmlDocument as a read-only rich text the listener
// moves through with the caret (keyboard and mouse), exposed to the screen
// reader through Qt's accessibility of text edits; its accessible name is set
// with QWidget::setAccessibleName.
//
// Loading builds the text document in one pass (HtmlRenderer), applying the
// document's style sheets where Qt can show them. Changing an element's markup
// never reloads: when only marker spans came or went (the text stays the same)
// the element's range gets the new formats, or colour markers are painted over
// it; otherwise only that range is written again. The caret, the selection and
// the scroll position stay where they are.
//
// A long text is laid out as far as it is shown or asked about, and the rest
// in the background. bodyScrollHeight() is exact when the text is laid out to
// its end, which a short text, or one whose end is near, is at once; until
// then it is the view's estimate, and at least the height laid out, which
// reaches more than a view height below the scroll top.
//
// navigate() raises beforeNavigate at once, then (unless cancelled) loads and
// shows the file, at the element of its "#fragment" or at the top, and posts
// documentComplete(location) to the event loop: it arrives after navigate has
// returned. A file that cannot be read is shown as a document holding its
// name, and completes like any other, so the caller's state follows the
// location either way.
//
// Activating a link (Return on a link the caret is in or Tab selected, or a
// click) resolves its href against the document's folder (percent-decoded,
// "#fragment" kept) and raises beforeNavigate; unless cancelled, a fragment of
// the shown document scrolls there, another local file is shown (with
// documentComplete), and any other URL goes to the desktop's handler.
class HtmlTextView : public QTextBrowser, public HtmlView {
    Q_OBJECT

public:
    explicit HtmlTextView(QWidget* parent = nullptr);
    ~HtmlTextView() override;

    // HtmlView. The listener is not owned and must outlive the view or be reset.
    void setListener(Listener* listener) override { m_listener = listener; }
    void navigate(const std::string& location) override;
    std::string locationName() const override;
    bool hasDocument() const override { return m_document.has_value(); }
    std::optional<std::string> bodyInnerHtml() const override;
    std::optional<std::string> bodyOuterHtml() const override;
    bool setBodyInnerHtml(const std::string& html) override;
    bool hasElement(const std::string& id) const override;
    std::optional<std::string> elementInnerHtml(const std::string& id) const override;
    bool setElementInnerHtml(const std::string& id, const std::string& html) override;
    std::optional<std::string> elementOuterHtml(const std::string& id) const override;
    bool scrollIntoView(const std::string& id) override;
    int bodyScrollHeight() const override;
    int scrollTop() const override;
    void setScrollTop(int top) override;
    int viewHeight() const override;

    // Follows a link whose href is written as in the shown document, as
    // activating it does. A link that is not a file is opened by the desktop
    // only when the listener answers Yes to the external-link question.
    void activateLink(const QString& href);
    // The texts of that question, in the interface's language.
    void setExternalLinkTexts(const ExternalLinkQuestion::Texts& texts) { m_externalLinks.setTexts(texts); }

    // The text positions an element's content covers, nullopt when the element
    // is missing or not shown.
    std::optional<std::pair<int, int>> elementRange(const std::string& id) const;
    // How many times the text was changed (not just formatted) since loading.
    int rewriteCount() const { return m_rewrites; }

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void load(const std::string& path);
    void completeLater();
    bool scrollToFragment(const std::string& fragment);
    bool scrollToElement(const xmlNode* element);
    bool replaceContent(xmlNode* element, const std::string& html);
    void updateOverlays();
    // Gives the view the markers near the place shown, when it has not got them.
    void coverShownOverlays();
    // The characters from the first block shown to the end of the last.
    std::pair<int, int> shownRange() const;
    // The layout works through a long text lazily, a part at a time and the
    // rest in the background; these lay out only what is asked for.
    struct LaidOut {
        qreal bottom = 0;  // of the last block laid out
        bool complete = false;  // the text is laid out to its end
    };
    QTextBlock laidOutBlockAbove(qreal y) const;
    // Lays the text out as far as y, and then `ahead` characters further.
    LaidOut layOutTo(int y, int ahead) const;
    // Makes the scroll range reach `top`, if the text does.
    void ensureScrollable(int top) const;
    void refreshScrollRange(qreal height) const;
    void openEdit(int from, int to);
    void closeEdit() const;
    QString hrefAt(int position) const;

    Listener* m_listener = nullptr;
    ExternalLinkQuestion m_externalLinks;
    std::optional<HtmlDocument> m_document;
    HtmlStyleSheet m_sheet;
    HtmlStyler m_styler{m_sheet};
    std::unique_ptr<HtmlFormats> m_formats;
    HtmlRenderer::Ranges m_ranges;
    HtmlRenderer::Overlays m_overlays;
    std::pair<int, int> m_overlayWindow{0, 0};  // the characters whose markers the view has
    bool m_overlaysWindowed = false;
    // The absolute path of the shown document as bytes on disk, which need not
    // be UTF-8 (a Latin-1 book on an old CD), and as text for links.
    std::string m_locationBytes;
    QString m_location;
    QString m_folder;  // its folder, ending in "/"
    QString m_pressedHref;
    // Changes close to each other (the highlight leaving one phrase and
    // coming to the next) are told to the layout as one: it then moves the
    // rest of a long text once, not once per change. The edit closes before
    // anything looks at the layout, and at the latest in the next turn of the
    // event loop.
    mutable QTextCursor m_edit;
    mutable bool m_editOpen = false;
    int m_editFrom = 0;
    int m_editTo = 0;
    int m_rewrites = 0;
    // What was shown before, let go in the next turn of the event loop: a
    // long text's nodes, ranges and blocks take a while to free, which the
    // listener need not wait for before the new text shows.
    struct Retired {
        std::optional<HtmlDocument> document;
        HtmlRenderer::Ranges ranges;
        HtmlRenderer::Overlays overlays;
        std::unique_ptr<QTextDocument> text;
    };
    std::optional<Retired> m_retired;
};

}  // namespace korvin
