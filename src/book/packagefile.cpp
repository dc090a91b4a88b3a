// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/packagefile.h"

#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "book/bookreference.h"
#include "book/textdecoder.h"
#include "book/xmlencoding.h"
#include "book/xmlscanner.h"
#include "book/xmltext.h"

namespace korvin {

namespace {

using Token = XmlScanner::Token;

struct ManifestItem {
    std::string file;  // relative to the book folder; empty when it leaves the book
    std::string mediaType;
};

bool endsWithIgnoringCase(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && equalsIgnoringAsciiCase(text.substr(text.size() - end.size()), end);
}

bool isSmil(const ManifestItem& item)
{
    return equalsIgnoringAsciiCase(item.mediaType, "application/smil") ||
           equalsIgnoringAsciiCase(item.mediaType, "application/smil+xml") || endsWithIgnoringCase(item.file, ".smil");
}

bool isNavigation(const ManifestItem& item)
{
    return equalsIgnoringAsciiCase(item.mediaType, "application/x-dtbncx+xml");
}

bool isDtbook(const ManifestItem& item)
{
    return equalsIgnoringAsciiCase(item.mediaType, "application/x-dtbook+xml");
}

class PackageReading {
public:
    PackageReading(std::string_view document, int codePage, std::string_view path)
        : m_scanner(document)
        , m_path(path)
        , m_decoder(codePage)
    {
    }

    PackageFile read()
    {
        for (;;) {
            const Token token = m_scanner.next();
            if (token == Token::kEnd)
                break;
            if (token == Token::kError) {
                m_package.malformed = true;
                break;
            }
            if (token == Token::kStartElement)
                startElement();
        }
        finish();
        return std::move(m_package);
    }

private:
    std::string text()
    {
        return bookText(collapseWhiteSpace(elementText(m_scanner)), m_decoder);
    }

    std::string attribute(std::string_view name) const { return xmlText(m_scanner.attribute(name)); }

    void startElement()
    {
        const std::string_view name = m_scanner.localName();
        if (name == "package") {
            m_uniqueIdentifier = attribute("unique-identifier");
        } else if (equalsIgnoringAsciiCase(name, "title")) {
            std::string title = text();
            if (m_package.title.empty())
                m_package.title = std::move(title);
        } else if (equalsIgnoringAsciiCase(name, "creator")) {
            if (std::string creator = text(); !creator.empty())
                m_package.creators.push_back(std::move(creator));
        } else if (equalsIgnoringAsciiCase(name, "identifier")) {
            const bool named = !m_uniqueIdentifier.empty() && attribute("id") == m_uniqueIdentifier;
            std::string identifier = text();
            if (named || (!m_namedIdentifier && m_package.identifier.empty()))
                m_package.identifier = std::move(identifier);
            m_namedIdentifier = m_namedIdentifier || named;
        } else if (equalsIgnoringAsciiCase(name, "date")) {
            std::string date = text();
            if (m_package.date.empty())
                m_package.date = std::move(date);
        } else if (name == "meta") {
            if (equalsIgnoringAsciiCase(trimWhiteSpace(m_scanner.attribute("name")), "dtb:totalTime"))
                m_package.totalTime = bookText(std::string(trimWhiteSpace(attribute("content"))), m_decoder);
        } else if (name == "item") {
            addItem();
        } else if (name == "spine") {
            m_tocId = attribute("toc");
        } else if (name == "itemref") {
            m_spine.push_back(attribute("idref"));
        }
    }

    void addItem()
    {
        ManifestItem item;
        if (const auto reference = resolveReference(m_path, nameText(m_scanner.attribute("href"), m_decoder)))
            item.file = reference->file;
        item.mediaType = std::string(trimWhiteSpace(attribute("media-type")));
        if (m_package.navigationFile.empty() && isNavigation(item))
            m_package.navigationFile = item.file;
        // An empty href names the package file itself.
        if (!trimWhiteSpace(m_scanner.attribute("href")).empty() && !item.file.empty()
            && equalsIgnoringAsciiCase(item.mediaType, "text/css"))
            m_package.styleSheets.push_back(item.file);
        m_itemOfId.emplace(attribute("id"), m_items.size());
        m_items.push_back(std::move(item));
    }

    // The manifest may come after the spine in a careless file, so the spine
    // is looked up at the end.
    void finish()
    {
        if (m_package.navigationFile.empty()) {
            if (const ManifestItem* toc = item(m_tocId))
                m_package.navigationFile = toc->file;
        }
        for (const ManifestItem& item : m_items)
            if (m_package.navigationFile.empty() && endsWithIgnoringCase(item.file, ".ncx"))
                m_package.navigationFile = item.file;
        std::unordered_set<std::string> taken;
        for (const std::string& id : m_spine) {
            const ManifestItem* found = item(id);
            if (!found || found->file.empty())
                continue;
            const ManifestItem& item = *found;
            if (isDtbook(item))
                m_package.textInSpine = true;
            // A file the spine names twice is read once: its phrases have one
            // place in the book.
            if (isSmil(item) && taken.insert(item.file).second)
                m_package.smilFiles.push_back(item.file);
        }
    }

    const ManifestItem* item(const std::string& id) const
    {
        const auto found = m_itemOfId.find(id);
        return found == m_itemOfId.end() ? nullptr : &m_items[found->second];
    }

    XmlScanner m_scanner;
    std::string_view m_path;
    TextDecoder m_decoder;
    PackageFile m_package;
    std::string m_uniqueIdentifier;
    bool m_namedIdentifier = false;
    std::string m_tocId;
    std::vector<ManifestItem> m_items;  // in the order of the manifest
    std::unordered_map<std::string, std::size_t> m_itemOfId;
    std::vector<std::string> m_spine;
};

}  // namespace

PackageFile readPackageFile(std::string_view bytes, std::string_view path)
{
    std::string converted;
    return PackageReading(utf8Document(bytes, converted), documentCodePage(bytes), path).read();
}

}  // namespace korvin
