// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>

namespace korvin {

// The program's texts by number: German id N, English id N + 200. Read from the
// tab-separated table of resources/ (id, tab, text; "\t", "\n" and "\\" escaped;
// lines starting with "#" are comments).
class StringTable {
public:
    StringTable() = default;
    explicit StringTable(std::string_view table);

    // The built-in table of the program.
    static StringTable builtIn();

    // The text of `id`; empty text when the table has none (as a missing resource).
    const std::string& get(int id) const;
    // The text of German id `id` in the language of `languageOffset` (0 or 200).
    const std::string& get(int id, int languageOffset) const { return get(id + languageOffset); }
    bool contains(int id) const { return m_texts.count(id) != 0; }
    const std::map<int, std::string>& all() const { return m_texts; }

private:
    std::map<int, std::string> m_texts;
};

// Calls `line` for every line of a resource table that is neither empty nor a
// comment ("#"), without its line end.
void forEachTableLine(std::string_view table, const std::function<void(std::string_view)>& line);

// `text` with its placeholders ("%i" and "%s") replaced by `values`, in order.
// A value is put in as it stands: a "%s" within it is not a placeholder.
// Placeholders beyond the values stay; values beyond the placeholders are dropped.
std::string fillIn(std::string_view text, std::initializer_list<std::string_view> values);

// Reads one escaped cell of the resource tables: "\t" → tab, "\n" → line break,
// "\\" → backslash; any other backslash stays as it is.
std::string unescapeResourceText(std::string_view text);

}  // namespace korvin
