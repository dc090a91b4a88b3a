// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvin {

// A small, strict-enough XML scanner for the files of a DAISY 3 book (the
// package, the navigation file, the SMIL files): it hands out start tags with
// their attributes, end tags and text, one token at a time, as views into the
// document, which must outlive the scanner.
//
// A book is a stranger's file, so the scanner never reaches beyond the
// document: a DOCTYPE (with or without an internal subset or an external id)
// is passed over and nothing in it is fetched or defined; processing
// instructions and comments are passed over; entities are not expanded here
// (xmltext.h decodes the five predefined ones and character references and
// leaves every other reference as written). It is linear in the size of the
// document and needs no recursion.
//
// Malformed input ends the scan with kError (why() says why): a tag or
// attribute without its end, an end tag that does not close the open element,
// a "<" inside an attribute value, an unknown "<!" declaration, elements
// nested deeper than kMaxDepth, the end of the document inside an element.
// Every token before the fault has been handed out, so a reader can keep what
// it got. After the root element closes the scan ends with kEnd; what follows
// is not looked at.
class XmlScanner {
public:
    enum class Token { kStartElement, kEndElement, kText, kEnd, kError };
    static constexpr std::size_t kMaxDepth = 1024;

    explicit XmlScanner(std::string_view document);

    // The next token; kEnd or kError again once the scan has ended. An empty
    // element (<a/>) gives kStartElement and then kEndElement.
    Token next();

    // kStartElement, kEndElement: the element's name as written ("dc:Title")
    // and without its prefix ("Title").
    std::string_view name() const { return m_name; }
    std::string_view localName() const { return m_localName; }
    // kStartElement: whether it was written as an empty element.
    bool isEmptyElement() const { return m_emptyElement; }
    // kStartElement of an empty element: closes it without handing out its
    // kEndElement (as if that had been read); does nothing otherwise.
    void closeEmptyElement();
    // kStartElement: the value of the attribute named `name` as written
    // between its quotes (entities not decoded); empty when it is missing.
    std::string_view attribute(std::string_view name) const;
    bool hasAttribute(std::string_view name) const;
    const std::vector<std::pair<std::string_view, std::string_view>>& attributes() const { return m_attributes; }

    // Whether text is handed out (the default); a reader that only wants the
    // markup passes over it faster. CDATA sections count as text.
    void setTextWanted(bool wanted);

    // kText: the text as written, entities not decoded; a CDATA section is
    // handed out as one text of its own, whose content is taken literally.
    std::string_view text() const { return m_text; }
    bool isCData() const { return m_cdata; }

    // Elements open at this token: 1 in the root element's start tag.
    std::size_t depth() const { return m_open.size(); }
    // Why the scan ended with kError; empty otherwise.
    std::string_view why() const { return m_why; }

private:
    Token fail(const char* why);
    Token startTag();
    Token endTag();
    bool skipDoctype();
    std::size_t lessFrom(std::size_t from);

    std::string_view m_doc;
    std::size_t m_pos = 0;
    // The first "<" at or after m_lessSearched: lessFrom() answers from it
    // for every place up to it.
    std::size_t m_lessSearched = std::string_view::npos;
    std::size_t m_nextLess = 0;
    // The text after the last start tag, when it was passed over: the scan
    // has not gone on while m_pos is still at its end.
    std::size_t m_skippedFrom = 0;
    std::size_t m_skippedTo = std::string_view::npos;
    std::vector<std::string_view> m_open;
    std::vector<std::pair<std::string_view, std::string_view>> m_attributes;
    std::string_view m_name;
    std::string_view m_localName;
    std::string_view m_text;
    const char* m_why = "";
    bool m_emptyElement = false;
    bool m_endPending = false;
    bool m_cdata = false;
    bool m_rootSeen = false;
    bool m_textWanted = true;
    bool m_ended = false;
    Token m_endToken = Token::kEnd;
};

// Called after a kStartElement of a scanner that hands out text: reads on to the end of that element and
// returns the text inside it, child elements' text included, entities decoded
// (xmltext.h). Text beyond `maxBytes` is passed over. When the scan ends
// inside the element, the text up to there.
std::string elementText(XmlScanner& scanner, std::size_t maxBytes = std::size_t{64} * 1024);

}  // namespace korvin
