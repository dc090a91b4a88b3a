// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/linecuts.h"

namespace korvin {

namespace {

constexpr auto npos = std::string_view::npos;

// Where the text after the first `">` from `from` not followed by "<" starts.
std::size_t textAfterTagEnd(std::string_view line, std::size_t from)
{
    // Found by its ">": a line has fewer of them than quotes.
    for (std::size_t at = findTextBy<1>(line, "\">", from); at != npos; at = findTextBy<1>(line, "\">", at + 1)) {
        if (at + 2 >= line.size() || line[at + 2] != '<')
            return at + 2;
    }
    return npos;
}

}  // namespace

std::string_view metaValue(std::string_view line, std::size_t from)
{
    const std::size_t at = findText(line, "=\"", from);
    if (at == npos)
        return {};
    return valueUpTo(line, at + 2, '"');
}

std::string_view linkFileName(std::string_view line, std::size_t from)
{
    std::size_t at = findText(line, "href", from);
    if (at == npos)
        return {};
    at += 4;
    if (line.substr(at, 2) == "=\"")
        at += 2;
    return valueUpTo(line, at, '#');
}

std::string_view linkFragment(std::string_view line, std::size_t from)
{
    const std::size_t at = line.find('#', from);
    if (at == npos)
        return {};
    return valueUpTo(line, at + 1, '"');
}

std::string_view linkLabel(std::string_view line, std::size_t from)
{
    const std::size_t start = textAfterTagEnd(line, from);
    if (start == npos)
        return {};
    return valueUpTo(line, start, '<');
}

std::string_view headingTitle(std::string_view line, std::string_view key)
{
    const std::size_t link = findText(key, "<a href");
    if (link == npos)
        return {};
    const std::size_t start = textAfterTagEnd(line, link);
    if (start == npos || start >= line.size())
        return {};
    const std::size_t end = findText(line, "</", start);
    return line.substr(start, end == npos ? npos : end - start);
}

}  // namespace korvin
