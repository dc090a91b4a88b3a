// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/testbook.h"

namespace korvin::test {

namespace {

std::string join(const std::vector<std::string>& lines, std::string_view lineEnd)
{
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += lineEnd;
    }
    return text;
}

std::string concat(std::initializer_list<std::string_view> parts)
{
    std::string text;
    for (std::string_view part : parts)
        text += part;
    return text;
}

std::string audioTag(const TestBook::Clip& clip)
{
    return concat({"<audio src=\"", clip.src, "\" clip-begin=\"npt=", clip.begin, "s\" clip-end=\"npt=", clip.end,
                   "s\" />"});
}

std::string parTag(std::string_view id, std::string_view systemRequired)
{
    if (systemRequired.empty())
        return concat({"<par endsync=\"last\" id=\"", id, "\">"});
    return concat({"<par endsync=\"last\" system-required=\"", systemRequired, "\" id=\"", id, "\">"});
}

std::string textTag(std::string_view id, std::string_view src)
{
    return concat({"<text id=\"txt_", id, "\" src=\"", src, "\" />"});
}

}  // namespace

TestBook::Ncc& TestBook::Ncc::meta(std::string_view name, std::string_view content)
{
    m_head.push_back(concat({"    <meta name=\"", name, "\" content=\"", content, "\" />"}));
    return *this;
}

TestBook::Ncc& TestBook::Ncc::heading(int level, std::string_view title, std::string_view href)
{
    const std::string h = "h" + std::to_string(level);
    m_body.push_back(concat({"    <", h, " id=\"", nextId(), "\"><a href=\"", href, "\">", title, "</a></", h, ">"}));
    return *this;
}

TestBook::Ncc& TestBook::Ncc::page(std::string_view label, std::string_view href, std::string_view type)
{
    m_body.push_back(concat({"    <span class=\"page-", type, "\" id=\"", nextId(), "\"><a href=\"", href, "\">", label,
                             "</a></span>"}));
    return *this;
}

TestBook::Ncc& TestBook::Ncc::group(std::string_view label, std::string_view href)
{
    m_body.push_back(
        concat({"    <div class=\"group\" id=\"", nextId(), "\"><a href=\"", href, "\">", label, "</a></div>"}));
    return *this;
}

TestBook::Ncc& TestBook::Ncc::headLine(std::string_view line)
{
    m_head.emplace_back(line);
    return *this;
}

TestBook::Ncc& TestBook::Ncc::bodyLine(std::string_view line)
{
    m_body.emplace_back(line);
    return *this;
}

std::string TestBook::Ncc::nextId()
{
    return "ncc_" + std::to_string(++m_ids);
}

std::string TestBook::Ncc::text(std::string_view lineEnd) const
{
    std::vector<std::string> lines{
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>",
        "<html xmlns=\"http://www.w3.org/1999/xhtml\">",
        "  <head>",
        "    <title>Test book</title>",
    };
    lines.insert(lines.end(), m_head.begin(), m_head.end());
    lines.push_back("  </head>");
    lines.push_back("  <body>");
    lines.insert(lines.end(), m_body.begin(), m_body.end());
    lines.push_back("  </body>");
    lines.push_back("</html>");
    return join(lines, lineEnd);
}

TestBook::Smil& TestBook::Smil::timeInThisSmil(std::string_view value)
{
    m_head.push_back(concat({"    <meta name=\"ncc:timeInThisSmil\" content=\"", value, "\" />"}));
    return *this;
}

TestBook::Smil& TestBook::Smil::totalElapsedTime(std::string_view value)
{
    m_head.push_back(concat({"    <meta name=\"ncc:totalElapsedTime\" content=\"", value, "\" />"}));
    return *this;
}

TestBook::Smil& TestBook::Smil::par(std::string_view id, std::string_view textSrc, const std::vector<Clip>& clips,
                                    std::string_view systemRequired)
{
    m_body.push_back("      " + parTag(id, systemRequired));
    m_body.push_back("        " + textTag(id, textSrc));
    if (clips.size() > 1)
        m_body.push_back("        <seq>");
    for (const auto& clip : clips)
        m_body.push_back("          " + audioTag(clip));
    if (clips.size() > 1)
        m_body.push_back("        </seq>");
    m_body.push_back("      </par>");
    return *this;
}

TestBook::Smil& TestBook::Smil::parOnOneLine(std::string_view id, std::string_view textSrc,
                                             const std::vector<Clip>& clips, std::string_view systemRequired)
{
    std::string line = "      " + parTag(id, systemRequired) + textTag(id, textSrc);
    for (const auto& clip : clips)
        line += audioTag(clip);
    line += "</par>";
    m_body.push_back(std::move(line));
    return *this;
}

TestBook::Smil& TestBook::Smil::headLine(std::string_view line)
{
    m_head.emplace_back(line);
    return *this;
}

TestBook::Smil& TestBook::Smil::bodyLine(std::string_view line)
{
    m_body.emplace_back(line);
    return *this;
}

std::string TestBook::Smil::text(std::string_view lineEnd) const
{
    std::vector<std::string> lines{
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>",
        "<smil>",
        "  <head>",
        "    <meta name=\"dc:format\" content=\"Daisy 2.02\" />",
    };
    lines.insert(lines.end(), m_head.begin(), m_head.end());
    lines.push_back("  </head>");
    lines.push_back("  <body>");
    lines.push_back("    <seq>");
    lines.insert(lines.end(), m_body.begin(), m_body.end());
    lines.push_back("    </seq>");
    lines.push_back("  </body>");
    lines.push_back("</smil>");
    return join(lines, lineEnd);
}

TestBook& TestBook::write(const std::string& name, const std::string& bytes)
{
    m_dir.write(name, bytes);
    return *this;
}

TestBook& TestBook::writeNcc(const Ncc& ncc, const std::string& name, std::string_view lineEnd)
{
    return write(name, ncc.text(lineEnd));
}

TestBook& TestBook::writeSmil(const std::string& name, const Smil& smil, std::string_view lineEnd)
{
    return write(name, smil.text(lineEnd));
}

TestBook& TestBook::writeHtml(const std::string& name, const std::vector<std::pair<std::string, std::string>>& paragraphs)
{
    std::vector<std::string> lines{"<?xml version=\"1.0\" encoding=\"utf-8\"?>",
                                   "<html xmlns=\"http://www.w3.org/1999/xhtml\">", "  <head><title>Text</title></head>",
                                   "  <body>"};
    for (const auto& [id, text] : paragraphs)
        lines.push_back(concat({"    <p id=\"", id, "\">", text, "</p>"}));
    lines.push_back("  </body>");
    lines.push_back("</html>");
    return write(name, join(lines, "\n"));
}

}  // namespace korvin::test
