// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/nccheadings.h"

#include "book/linecuts.h"
#include "book/textcase.h"

namespace korvin {

bool joinHeadingLines(std::string_view line, std::string_view key, LineReader& lines, std::string& joined,
                      std::string& joinedKey)
{
    if (containsText(key, "</h"))
        return false;
    bool any = false;
    while (const auto next = lines.next()) {
        // Copied only once a line is to be joined: a heading that runs to the
        // end of the file needs no copy of itself.
        if (!any) {
            joined.assign(line);
            joinedKey.assign(key);
            any = true;
        }
        const std::size_t joint = joined.size();
        joined += *next;
        joinedKey += *next;
        // A byte's lower case depends on the byte before it (the C3 of a
        // Latin-1 capital), so the joint is lower-cased again.
        const std::size_t from = joint > 0 ? joint - 1 : 0;
        lowerCaseInPlace(joinedKey.data() + from, joinedKey.size() - from);
        // Only the new part (and an end tag across the joint) is searched,
        // so a heading that never ends costs linear time.
        if (findText(joinedKey, "</h", joint >= 2 ? joint - 2 : 0) != std::string_view::npos)
            break;
    }
    return any;
}

NccSmilNames::NccSmilNames(std::string_view bytes, std::string_view keys)
    : m_bytes(bytes)
    , m_keys(keys)
    , m_lines(bytes)
{
}

std::optional<std::string_view> NccSmilNames::next()
{
    while (const auto line = m_lines.next()) {
        if (line->empty())
            continue;
        const auto start = static_cast<std::size_t>(line->data() - m_bytes.data());
        const std::string_view key = m_keys.substr(start, line->size());
        const NccLineTags tags(key);
        if (tags.body)
            m_inBody = true;
        if (tags.bodyEnd)
            m_inBody = false;
        if (!m_inBody || !opensHeading(*line, tags.heading))
            continue;
        if (joinHeadingLines(*line, key, m_lines, m_joined, m_joinedKey))
            return linkFileName(m_joined, tags.heading);
        return linkFileName(*line, tags.heading);
    }
    return std::nullopt;
}

}  // namespace korvin
