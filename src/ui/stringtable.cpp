#include "ui/stringtable.h"

#include "book/textnumbers.h"
#include "embedded.h"

namespace korvin {

namespace {
const std::string kEmpty;
}

std::string unescapeResourceText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[i + 1];
            if (next == 't' || next == 'n' || next == '\\') {
                out += next == 't' ? '\t' : next == 'n' ? '\n' : '\\';
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

StringTable::StringTable(std::string_view table)
{
    while (!table.empty()) {
        const std::size_t end = table.find('\n');
        std::string_view line = table.substr(0, end);
        table = end == std::string_view::npos ? std::string_view() : table.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line[0] == '#')
            continue;
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos)
            continue;
        m_texts[toInteger(line.substr(0, tab))] = unescapeResourceText(line.substr(tab + 1));
    }
}

StringTable StringTable::builtIn()
{
    return StringTable(resources::stringTable());
}

const std::string& StringTable::get(int id) const
{
    const auto it = m_texts.find(id);
    return it == m_texts.end() ? kEmpty : it->second;
}

}  // namespace korvin
