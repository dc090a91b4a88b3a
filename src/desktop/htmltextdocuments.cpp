#include "desktop/htmltextdocuments.h"

#include <string_view>

#include "book/diskfilesource.h"
#include "desktop/htmlnode.h"

namespace korvin {

namespace {

constexpr std::string_view kBlocks[] = {
    "address", "article", "aside",  "blockquote", "body",    "caption", "center", "dd",      "details", "dialog",
    "dir",     "div",     "dl",     "dt",         "fieldset", "figcaption", "figure", "footer", "form",  "h1",
    "h2",      "h3",      "h4",     "h5",         "h6",      "header",  "hr",     "legend",  "li",      "main",
    "menu",    "nav",     "ol",     "p",          "pre",     "section", "summary", "table",  "tr",      "ul",
};

bool isBlock(std::string_view name)
{
    for (const std::string_view block : kBlocks)
        if (block == name)
            return true;
    return false;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// Writes the text with the separators it needs, and gives each id the offset
// of the first character that follows it.
class TextWriter {
public:
    explicit TextWriter(DocumentText& out)
        : m_out(out)
    {
    }

    void anchor(std::string_view id)
    {
        m_pending.push_back(m_out.anchors.size());
        m_out.anchors.push_back(DocumentText::Anchor{std::string(id), 0});
    }

    enum class Gap { kNone, kSpace, kCell, kLine };
    void gap(Gap gap)
    {
        if (!m_out.text.empty() && gap > m_gap)
            m_gap = gap;
    }

    void text(std::string_view content, bool preformatted)
    {
        for (std::size_t i = 0; i < content.size(); ++i) {
            const char c = content[i];
            if (c == '\xC2' && i + 1 < content.size() && (content[i + 1] == '\xA0' || content[i + 1] == '\xAD')) {
                if (content[++i] == '\xAD')
                    continue;
                put(' ');
                continue;
            }
            if (c == '\r')
                continue;
            if (preformatted && c == '\n') {
                gap(Gap::kLine);
                continue;
            }
            if (!preformatted && isSpace(c)) {
                gap(Gap::kSpace);
                continue;
            }
            put(c);
        }
    }

    void finish()
    {
        for (const std::size_t index : m_pending)
            m_out.anchors[index].offset = m_out.text.size();
        m_pending.clear();
    }

private:
    void flush()
    {
        static constexpr char kGapText[] = {'\0', ' ', '\t', '\n'};
        if (m_gap != Gap::kNone)
            m_out.text += kGapText[static_cast<int>(m_gap)];
        m_gap = Gap::kNone;
    }

    void put(char c)
    {
        flush();
        finish();
        m_out.text += c;
    }

    DocumentText& m_out;
    std::vector<std::size_t> m_pending;
    Gap m_gap = Gap::kNone;
};

}  // namespace

std::optional<DocumentText> HtmlTextDocuments::read(const std::string& path)
{
    std::string bytes;
    if (!DiskFileSource::readFile(path, bytes))
        return std::nullopt;
    const HtmlDocument document = HtmlDocument::fromBytes(bytes);
    bytes = std::string();
    return textOf(document);
}

DocumentText HtmlTextDocuments::textOf(const HtmlDocument& document)
{
    DocumentText out;
    TextWriter writer(out);
    int preformatted = 0;
    const xmlNode* body = document.body();
    if (const std::string_view id = HtmlNode::attribute(body, "id"); !id.empty())
        writer.anchor(id);

    // Entering a node writes its text or opens its element; leaving an
    // element closes it. Iterative, so deep tag soup cannot exhaust the stack.
    const auto enter = [&](const xmlNode* node) {
        if (node->type == XML_TEXT_NODE) {
            if (node->content)
                writer.text(reinterpret_cast<const char*>(node->content), preformatted > 0);
            return false;
        }
        if (!HtmlNode::isElement(node))
            return false;
        const std::string_view name = HtmlNode::name(node);
        if (name == "script" || name == "style" || name == "template")
            return false;
        if (name == "pre")
            ++preformatted;
        if (name == "br")
            writer.gap(TextWriter::Gap::kLine);
        else if (name == "td" || name == "th")
            writer.gap(TextWriter::Gap::kCell);
        else if (isBlock(name))
            writer.gap(TextWriter::Gap::kLine);
        if (const std::string_view id = HtmlNode::attribute(node, "id"); !id.empty())
            writer.anchor(id);
        return true;
    };
    const auto leave = [&](const xmlNode* node) {
        if (!HtmlNode::isElement(node))
            return;
        const std::string_view name = HtmlNode::name(node);
        if (name == "pre")
            --preformatted;
        if (name == "td" || name == "th")
            writer.gap(TextWriter::Gap::kCell);
        else if (isBlock(name))
            writer.gap(TextWriter::Gap::kLine);
    };

    const xmlNode* node = body->children;
    while (node) {
        if (enter(node) && node->children) {
            node = node->children;
            continue;
        }
        leave(node);
        while (node != body && !node->next) {
            node = node->parent;
            if (node != body)
                leave(node);
        }
        node = node == body ? nullptr : node->next;
    }
    writer.finish();
    return out;
}

}  // namespace korvin
