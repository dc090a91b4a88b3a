// SPDX-License-Identifier: GPL-3.0-or-later
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

std::string fillIn(std::string_view text, std::initializer_list<std::string_view> values)
{
    std::string out;
    auto value = values.begin();
    std::size_t from = 0;
    while (value != values.end()) {
        std::size_t at = from;
        while ((at = text.find('%', at)) != std::string_view::npos && at + 1 < text.size() && text[at + 1] != 's' &&
               text[at + 1] != 'i')
            ++at;
        if (at == std::string_view::npos || at + 1 >= text.size())
            break;
        out.append(text.substr(from, at - from));
        out.append(*value++);
        from = at + 2;
    }
    out.append(text.substr(from));
    return out;
}

void forEachTableLine(std::string_view table, const std::function<void(std::string_view)>& line)
{
    while (!table.empty()) {
        const std::size_t end = table.find('\n');
        std::string_view current = table.substr(0, end);
        table = end == std::string_view::npos ? std::string_view() : table.substr(end + 1);
        if (!current.empty() && current.back() == '\r')
            current.remove_suffix(1);
        if (!current.empty() && current[0] != '#')
            line(current);
    }
}

StringTable::StringTable(std::string_view table)
{
    forEachTableLine(table, [this](std::string_view line) {
        const std::size_t tab = line.find('\t');
        if (tab != std::string_view::npos)
            m_texts[toInteger(line.substr(0, tab))] = unescapeResourceText(line.substr(tab + 1));
    });
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
