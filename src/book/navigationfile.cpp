// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/navigationfile.h"

#include <algorithm>

#include "book/textdecoder.h"
#include "book/xmlencoding.h"
#include "book/xmlscanner.h"
#include "book/xmltext.h"

namespace korvin {

namespace {

using Token = XmlScanner::Token;

constexpr int kMaxLevel = 6;

// Groups are made of the lists of structures a listener jumps between; lists
// of page or line numbers, note references, figures or tables are not.
bool makesGroups(Skippable kind)
{
    return kind == Skippable::kNote || kind == Skippable::kAnnotation || kind == Skippable::kSidebar ||
           kind == Skippable::kProducerNote;
}

class NavigationReading {
public:
    NavigationReading(std::string_view document, int codePage, std::string_view path)
        : m_scanner(document)
        , m_path(path)
        , m_decoder(codePage)
    {
        m_file.codePage = m_decoder.codePage();
        // Only the text of text elements is read: the white space between
        // the many other tags is passed over.
        m_scanner.setTextWanted(false);
    }

    NavigationFile read()
    {
        for (;;) {
            const Token token = m_scanner.next();
            if (token == Token::kEnd)
                break;
            if (token == Token::kError) {
                m_file.malformed = true;
                break;
            }
            if (token == Token::kStartElement)
                startElement();
            else if (token == Token::kEndElement)
                endElement();
        }
        return std::move(m_file);
    }

private:
    // What an open element is to the reading.
    enum class Kind { kOther, kDocTitle, kNavPoint, kPageTarget, kNavList, kNavTarget, kIgnoredTarget, kNavLabel };
    struct Open {
        Kind kind = Kind::kOther;
        std::size_t index = 0;  // of the heading, page or group an item makes
        bool labelled = false;  // its first navLabel has been read
    };

    void startElement()
    {
        const std::string_view name = m_scanner.localName();
        Open open;
        if (name == "text") {
            takeText();
            return;  // its end has been read with its text
        }
        if (name == "meta") {
            if (trimWhiteSpace(m_scanner.attribute("name")) == "dtb:uid")
                m_file.uid = bookText(std::string(trimWhiteSpace(xmlText(m_scanner.attribute("content")))), m_decoder);
        } else if (name == "smilCustomTest") {
            m_file.customTests.emplace_back(xmlText(m_scanner.attribute("id")),
                                            skippableOfName(trimWhiteSpace(m_scanner.attribute("bookStruct"))));
        } else if (name == "docTitle") {
            open.kind = Kind::kDocTitle;
        } else if (name == "navPoint") {
            ++m_navPointDepth;
            open = {Kind::kNavPoint, m_file.headings.size()};
            m_file.headings.push_back({std::min(m_navPointDepth, kMaxLevel), {}, {}});
        } else if (name == "pageTarget") {
            open = {Kind::kPageTarget, m_file.pages.size()};
            m_file.pages.push_back({bookText(std::string(trimWhiteSpace(xmlText(m_scanner.attribute("value")))), m_decoder), {}});
            m_pageLabelFromValue = true;
        } else if (name == "navList") {
            open.kind = Kind::kNavList;
            m_listMakesGroups = makesGroups(skippableOfClass(m_scanner.attribute("class")));
            m_listLabel.clear();
        } else if (name == "navTarget") {
            open.kind = m_listMakesGroups ? Kind::kNavTarget : Kind::kIgnoredTarget;
            if (m_listMakesGroups) {
                open.index = m_file.groups.size();
                m_file.groups.push_back({m_listLabel, {}});
            }
        } else if (name == "navLabel") {
            open.kind = Kind::kNavLabel;
        } else if (name == "content") {
            takeContent();
        }
        m_open.push_back(open);
    }

    void endElement()
    {
        if (m_open.empty())
            return;
        const Open open = m_open.back();
        m_open.pop_back();
        if (open.kind == Kind::kNavPoint)
            --m_navPointDepth;
        else if (open.kind == Kind::kNavList)
            m_listMakesGroups = false;
        else if (open.kind == Kind::kNavLabel && !m_open.empty())
            m_open.back().labelled = true;
    }

    // The item whose navLabel or content an element inside `levels` open
    // elements belongs to; null when it is no item's.
    Open* item(std::size_t levels)
    {
        if (m_open.size() < levels)
            return nullptr;
        Open& open = m_open[m_open.size() - levels];
        const bool isItem = open.kind == Kind::kNavPoint || open.kind == Kind::kPageTarget ||
                            open.kind == Kind::kNavTarget || open.kind == Kind::kNavList;
        return isItem ? &open : nullptr;
    }

    void takeText()
    {
        const bool inLabel = !m_open.empty() && m_open.back().kind == Kind::kNavLabel;
        const bool inDocTitle = !m_open.empty() && m_open.back().kind == Kind::kDocTitle;
        if (!inLabel && !inDocTitle) {
            elementText(m_scanner, 0);
            return;
        }
        m_scanner.setTextWanted(true);
        std::string text = bookText(collapseWhiteSpace(elementText(m_scanner)), m_decoder);
        m_scanner.setTextWanted(false);
        if (inDocTitle) {
            if (m_file.docTitle.empty())
                m_file.docTitle = std::move(text);
            return;
        }
        Open* owner = item(2);
        if (!owner || owner->labelled)
            return;
        switch (owner->kind) {
        case Kind::kNavPoint:
            if (m_file.headings[owner->index].title.empty())
                m_file.headings[owner->index].title = std::move(text);
            break;
        case Kind::kPageTarget:
            if (!text.empty() && m_pageLabelFromValue) {
                m_file.pages[owner->index].label = std::move(text);
                m_pageLabelFromValue = false;
            }
            break;
        case Kind::kNavTarget:
            if (!text.empty() && m_file.groups[owner->index].label == m_listLabel)
                m_file.groups[owner->index].label = std::move(text);
            break;
        case Kind::kNavList:
            if (m_listLabel.empty())
                m_listLabel = std::move(text);
            break;
        default:
            break;
        }
    }

    void takeContent()
    {
        Open* owner = item(1);
        if (!owner)
            return;
        NavigationTarget* target = nullptr;
        if (owner->kind == Kind::kNavPoint)
            target = &m_file.headings[owner->index].target;
        else if (owner->kind == Kind::kPageTarget)
            target = &m_file.pages[owner->index].target;
        else if (owner->kind == Kind::kNavTarget)
            target = &m_file.groups[owner->index].target;
        if (!target || *target)
            return;
        // A reference in ASCII without entities is its own name: no copy to make.
        const std::string_view src = trimWhiteSpace(m_scanner.attribute("src"));
        if (isAscii(src) && src.find('&') == std::string_view::npos)
            *target = resolveReference(m_path, src);
        else
            *target = resolveReference(m_path, nameText(src, m_decoder));
    }

    XmlScanner m_scanner;
    std::string_view m_path;
    TextDecoder m_decoder;
    NavigationFile m_file;
    std::vector<Open> m_open;
    int m_navPointDepth = 0;
    bool m_listMakesGroups = false;
    std::string m_listLabel;
    bool m_pageLabelFromValue = false;
};

}  // namespace

NavigationFile readNavigationFile(std::string_view bytes, std::string_view path)
{
    std::string converted;
    return NavigationReading(utf8Document(bytes, converted), documentCodePage(bytes), path).read();
}

}  // namespace korvin
