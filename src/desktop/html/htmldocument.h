// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <libxml/tree.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace korvin {

// UTF-8 markup parsed as htmlReadMemory parses it, as HtmlDocument::fromUtf8
// does where XhtmlReader gives up. The caller owns the result; nullptr when it
// cannot be parsed.
xmlDoc* parseHtml(std::string_view markup);

// A parsed HTML document (libxml2's tolerant HTML parser) that hands out and
// takes markup the way the text view's callers expect.
//
// Markup goes in and out as UTF-8. Reading gives the fixed form of
// HtmlSerializer; markup set as an element's content is kept as it was given
// and read back character for character (by the element, and within the markup
// of its ancestors) until something inside the element changes again. So an
// element's content read, wrapped, set, and later unwrapped by exact text and
// set again reads back exactly as before.
//
// Elements are found by id through a map kept up to date on every change; with
// several elements of one id the first in document order wins. Nodes handed out
// stay valid until the content of an element containing them is set. There is
// always an html element with a body. Not thread-safe.
class HtmlDocument {
public:
    // A text document larger than this is not shown: parsing it would hold the
    // window for minutes.
    static constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20;

    // Reads and parses a file; nullopt when it cannot be read or is not a
    // regular file of at most kMaxFileBytes (a named pipe or a device is never
    // waited for). The character set is found as HtmlEncoding describes.
    static std::optional<HtmlDocument> load(const std::filesystem::path& file);
    // Parses the bytes of a file: a DAISY 3 text (DTBook) as the HTML it is
    // shown as (DtbookDocument), anything else as HTML.
    static HtmlDocument fromBytes(std::string_view bytes);
    // Parses markup that is UTF-8 already.
    static HtmlDocument fromUtf8(std::string_view markup);

    HtmlDocument(HtmlDocument&&) noexcept;
    HtmlDocument& operator=(HtmlDocument&&) noexcept;
    ~HtmlDocument();

    xmlNode* root() const;
    xmlNode* body() const { return m_body; }
    // nullptr when no element has this id. An id that is not UTF-8 is taken
    // as bytes of the file's declared character set (as its text was read).
    xmlNode* elementById(std::string_view id) const;
    std::size_t idCount() const { return m_ids.size(); }
    // Whether the document was read from a DTBook, whose style sheets name
    // DTBook elements.
    bool isDtbook() const { return m_dtbook; }
    // Whether a text has a letter of a right-to-left script (Hebrew, Arabic
    // and their neighbours, U+0590 to U+08FF and U+FB1D to U+FEFF) or an
    // element asks for right to left (dir="rtl"): in the document as read, or
    // in content set since.
    bool hasRightToLeft() const { return m_rightToLeft; }
    // The link and style elements, which may bring style sheets: in document
    // order as read; those of content set later follow.
    const std::vector<const xmlNode*>& sheetElements() const { return m_sheetElements; }

    std::string innerHtml(const xmlNode* element) const;
    std::string outerHtml(const xmlNode* element) const;

    // Replaces the element's content with `markup` parsed in the body; a body
    // start or end tag in it is passed over. Markup set as the body's content
    // that opens with a <BODY ...> start tag and closes with </BODY> (the
    // body's outer markup) is kept without those two tags, so that setting the
    // outer markup again and again does not pile them up. False, and nothing
    // changes, for an element that cannot have content (BR, IMG...) and for
    // the html element, which holds the body.
    // `beforeRemove` is called with every element about to go, while still valid.
    bool setInnerHtml(xmlNode* element, std::string_view markup,
                      const std::function<void(const xmlNode*)>& beforeRemove = {});

    enum class Change {
        kRefused,  // nothing changed, as setInnerHtml() refuses
        kMarkers,  // only markers came or went
        kContent,  // the content was replaced
    };
    // As setInnerHtml(). When `isMarker` is given and the new markup is the
    // old one with marker spans put in or taken out around text
    // (HtmlMarkerEdit), it is not parsed: the element's other nodes stay, with
    // the pointers to them, and only the stretches of text around those spans
    // are new. kMarkers when every span that came or went passes `isMarker`
    // (asked about spans in place), which then only paint over text.
    Change replaceInnerHtml(xmlNode* element, std::string_view markup,
                            const std::function<void(const xmlNode*)>& beforeRemove,
                            const std::function<bool(const xmlNode*)>& isMarker);

    // The markup kept for an element, nullptr when it is read in the fixed form.
    const std::string* keptMarkup(const xmlNode* element) const;

private:
    struct XmlDocFree {
        void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
    };
    using XmlDocPtr = std::unique_ptr<xmlDoc, XmlDocFree>;
    struct StringHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
    };

    explicit HtmlDocument(XmlDocPtr doc);
    void ensureBody();
    // Replaces the C1 controls of the nodes below `below` and notes their ids,
    // their sheet elements and whether they hold right-to-left text.
    void takeIn(xmlNode* below, bool includeSelf);
    // For the nodes from `first` on, its siblings and all below them.
    void removeIds(xmlNode* first, const std::function<void(const xmlNode*)>& beforeRemove);

    XmlDocPtr m_doc;
    std::string m_charset;  // what the file declared, to read ids given as its bytes
    bool m_dtbook = false;
    bool m_rightToLeft = false;
    std::vector<const xmlNode*> m_sheetElements;
    xmlNode* m_body = nullptr;
    // The elements of one id, in no order; nearly every id has one.
    struct IdElements {
        xmlNode* first = nullptr;
        std::vector<xmlNode*> more;
    };
    std::unordered_map<std::string, IdElements, StringHash, std::equal_to<>> m_ids;
    std::unordered_map<const xmlNode*, std::string> m_kept;
};

}  // namespace korvin
