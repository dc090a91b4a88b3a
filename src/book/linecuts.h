// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string_view>

#include "book/textsearch.h"

namespace korvin {

// Values cut out of a book line by scanning for fixed characters. Every
// function takes the line as read and a position to start from (where the
// caller found its key text in the lower-cased copy, which has the same
// positions); each returns a view into the line, empty when the characters it
// looks for are not there.

// The meta value: the text after the first `="` from `from` up to the next
// double quote or the end of the line.
std::string_view metaValue(std::string_view line, std::size_t from);

// The file part of a link: after the first "href" from `from` (and a `="`
// right behind it), every character up to the first "#" or the end of the
// line.
std::string_view linkFileName(std::string_view line, std::size_t from);

// The fragment of a link: after the first "#" from `from`, every character up
// to the next double quote or the end of the line.
std::string_view linkFragment(std::string_view line, std::size_t from);

// The text of a link: after the first `">` from `from` whose next character
// is not "<", every character up to the next "<" or the end of the line.
std::string_view linkLabel(std::string_view line, std::size_t from);

// The title of a heading: after "<a href" (found in `key`, the lower-cased
// line), the first `">` whose next character is not "<", then every character
// up to the first "</" or the end of the line. A link tag that encloses
// another tag is so passed over, and the inner tag's text is kept.
std::string_view headingTitle(std::string_view line, std::string_view key);

// From `start`, every character up to `stop` or the end of the line.
inline std::string_view valueUpTo(std::string_view line, std::size_t start, char stop)
{
    if (start >= line.size())
        return {};
    const std::size_t end = line.find(stop, start);
    return line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

// An attribute value cut at a fixed distance: find `name` from `from`, skip
// `skip` characters from where it starts, then take every character up to
// `stop` or the end of the line.
template <std::size_t N>
std::string_view cutAfter(std::string_view line, std::size_t from, const char (&name)[N], std::size_t skip, char stop)
{
    const std::size_t at = findText(line, name, from);
    if (at == std::string_view::npos)
        return {};
    return valueUpTo(line, at + skip, stop);
}

}  // namespace korvin
