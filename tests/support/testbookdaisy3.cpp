// SPDX-License-Identifier: GPL-3.0-or-later
// The DAISY 3 part of the test book builder: package file, navigation file,
// SMIL 2 files, DTBook text and audio.
#include "support/audiofiles.h"
#include "support/testbook.h"

namespace korvin::test {

namespace {

std::string concat(std::initializer_list<std::string_view> parts)
{
    std::string text;
    for (std::string_view part : parts)
        text += part;
    return text;
}

void append(std::vector<std::string>& lines, const std::vector<std::string>& more)
{
    lines.insert(lines.end(), more.begin(), more.end());
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

// A tag with extra attributes as given: <name ATTRIBUTES>.
std::string openTag(std::string_view name, std::string_view attributes)
{
    if (attributes.empty())
        return concat({"<", name, ">"});
    return concat({"<", name, " ", attributes, ">"});
}

std::string label(std::string_view text, std::string_view indent)
{
    return concat({indent, "<navLabel><text>", text, "</text></navLabel>"});
}

std::string content(std::string_view src, std::string_view indent)
{
    return concat({indent, "<content src=\"", src, "\" />"});
}

}  // namespace

// ---------------------------------------------------------------------------
// Package

TestBook::Package& TestBook::Package::title(std::string_view value)
{
    m_metadata.push_back(concat({"      <dc:Title>", value, "</dc:Title>"}));
    return *this;
}

TestBook::Package& TestBook::Package::identifier(std::string_view value)
{
    m_metadata.push_back(concat({"      <dc:Identifier id=\"uid\">", value, "</dc:Identifier>"}));
    return *this;
}

TestBook::Package& TestBook::Package::date(std::string_view value)
{
    m_metadata.push_back(concat({"      <dc:Date>", value, "</dc:Date>"}));
    return *this;
}

TestBook::Package& TestBook::Package::meta(std::string_view name, std::string_view content)
{
    m_meta.push_back(concat({"      <meta name=\"", name, "\" content=\"", content, "\" />"}));
    return *this;
}

TestBook::Package& TestBook::Package::smil(std::string_view href)
{
    const std::string id = "smil-" + std::to_string(++m_items);
    item(id, href, "application/smil");
    return spine(id);
}

TestBook::Package& TestBook::Package::item(std::string_view id, std::string_view href, std::string_view mediaType)
{
    m_manifest.push_back(
        concat({"    <item id=\"", id, "\" href=\"", href, "\" media-type=\"", mediaType, "\" />"}));
    return *this;
}

TestBook::Package& TestBook::Package::spine(std::string_view idref)
{
    m_spine.push_back(concat({"    <itemref idref=\"", idref, "\" />"}));
    return *this;
}

TestBook::Package& TestBook::Package::navigation(std::string_view href)
{
    m_navigation = href;
    return *this;
}

TestBook::Package& TestBook::Package::withoutNavigation()
{
    m_navigation.clear();
    return *this;
}

TestBook::Package& TestBook::Package::prologue(std::string_view line)
{
    m_prologue.emplace_back(line);
    return *this;
}

TestBook::Package& TestBook::Package::metadataLine(std::string_view line)
{
    m_metadata.emplace_back(line);
    return *this;
}

std::string TestBook::Package::text() const
{
    std::vector<std::string> lines{"<?xml version=\"1.0\" encoding=\"utf-8\"?>"};
    append(lines, m_prologue);
    lines.push_back("<package xmlns=\"http://openebook.org/namespaces/oeb-package/1.0/\" unique-identifier=\"uid\">");
    lines.push_back("  <metadata>");
    lines.push_back("    <dc-metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">");
    append(lines, m_metadata);
    lines.push_back("      <dc:Format>ANSI/NISO Z39.86-2005</dc:Format>");
    lines.push_back("    </dc-metadata>");
    lines.push_back("    <x-metadata>");
    append(lines, m_meta);
    lines.push_back("    </x-metadata>");
    lines.push_back("  </metadata>");
    lines.push_back("  <manifest>");
    if (!m_navigation.empty())
        lines.push_back(
            concat({"    <item id=\"ncx\" href=\"", m_navigation, "\" media-type=\"application/x-dtbncx+xml\" />"}));
    append(lines, m_manifest);
    lines.push_back("  </manifest>");
    lines.push_back("  <spine>");
    append(lines, m_spine);
    lines.push_back("  </spine>");
    lines.push_back("</package>");
    return joined(lines);
}

// ---------------------------------------------------------------------------
// Ncx

TestBook::Ncx& TestBook::Ncx::meta(std::string_view name, std::string_view content)
{
    m_head.push_back(concat({"    <meta name=\"", name, "\" content=\"", content, "\" />"}));
    return *this;
}

TestBook::Ncx& TestBook::Ncx::customTest(std::string_view id, std::string_view bookStruct)
{
    m_head.push_back(concat({"    <smilCustomTest id=\"", id, "\" defaultState=\"true\" override=\"visible\" bookStruct=\"",
                             bookStruct, "\" />"}));
    return *this;
}

TestBook::Ncx& TestBook::Ncx::docTitle(std::string_view text)
{
    m_docTitle = text;
    return *this;
}

TestBook::Ncx& TestBook::Ncx::navPoint(int depth, std::string_view label, std::string_view src)
{
    m_navPoints.push_back({depth, std::string(label), std::string(src)});
    return *this;
}

TestBook::Ncx& TestBook::Ncx::page(std::string_view text, std::string_view src, std::string_view type)
{
    const std::string id = "page-" + std::to_string(++m_ids);
    m_pages.push_back(concat({"    <pageTarget id=\"", id, "\" type=\"", type, "\" value=\"", text,
                              "\" playOrder=\"", std::to_string(m_ids), "\">"}));
    m_pages.push_back(label(text, "      "));
    m_pages.push_back(content(src, "      "));
    m_pages.push_back("    </pageTarget>");
    return *this;
}

TestBook::Ncx& TestBook::Ncx::navList(std::string_view classes, std::string_view text)
{
    m_navLists.push_back({std::string(classes), std::string(text), {}});
    return *this;
}

TestBook::Ncx& TestBook::Ncx::navTarget(std::string_view text, std::string_view src)
{
    m_navLists.back().targets.emplace_back(text, src);
    return *this;
}

TestBook::Ncx& TestBook::Ncx::prologue(std::string_view line)
{
    m_prologue.emplace_back(line);
    return *this;
}

TestBook::Ncx& TestBook::Ncx::headLine(std::string_view line)
{
    m_head.emplace_back(line);
    return *this;
}

std::string TestBook::Ncx::text() const
{
    std::vector<std::string> lines{"<?xml version=\"1.0\" encoding=\"utf-8\"?>"};
    append(lines, m_prologue);
    lines.push_back("<ncx xmlns=\"http://www.daisy.org/z3986/2005/ncx/\" version=\"2005-1\">");
    lines.push_back("  <head>");
    append(lines, m_head);
    lines.push_back("  </head>");
    if (!m_docTitle.empty())
        lines.push_back(concat({"  <docTitle>", "<text>", m_docTitle, "</text></docTitle>"}));
    lines.push_back("  <navMap>");
    int open = 0;
    int ids = 0;
    for (const NavPoint& point : m_navPoints) {
        for (; open >= point.depth; --open)
            lines.push_back(std::string(static_cast<std::size_t>(2 + 2 * open), ' ') + "</navPoint>");
        const std::string indent(static_cast<std::size_t>(4 + 2 * open), ' ');
        ++open;
        ++ids;
        lines.push_back(concat({indent, "<navPoint id=\"nav-", std::to_string(ids), "\" playOrder=\"",
                                std::to_string(ids), "\">"}));
        lines.push_back(label(point.label, indent + "  "));
        lines.push_back(content(point.src, indent + "  "));
    }
    for (; open > 0; --open)
        lines.push_back(std::string(static_cast<std::size_t>(2 + 2 * open), ' ') + "</navPoint>");
    lines.push_back("  </navMap>");
    if (!m_pages.empty()) {
        lines.push_back("  <pageList>");
        append(lines, m_pages);
        lines.push_back("  </pageList>");
    }
    for (const NavList& list : m_navLists) {
        lines.push_back(concat({"  <navList class=\"", list.classes, "\">"}));
        lines.push_back(label(list.label, "    "));
        for (const auto& [text, src] : list.targets) {
            lines.push_back("    <navTarget id=\"target-" + std::to_string(++ids) + "\">");
            lines.push_back(label(text, "      "));
            lines.push_back(content(src, "      "));
            lines.push_back("    </navTarget>");
        }
        lines.push_back("  </navList>");
    }
    lines.push_back("</ncx>");
    return joined(lines);
}

// ---------------------------------------------------------------------------
// Smil2

TestBook::Smil2& TestBook::Smil2::customTest(std::string_view id)
{
    m_customTests.push_back(
        concat({"      <customTest id=\"", id, "\" defaultState=\"true\" override=\"visible\" />"}));
    return *this;
}

TestBook::Smil2& TestBook::Smil2::par(std::string_view id, std::string_view textSrc, const std::vector<Clip>& clips,
                                      std::string_view attributes)
{
    const std::string tagAttributes = concat({"id=\"", id, "\"", attributes.empty() ? "" : " ", attributes});
    m_body.push_back("      " + openTag("par", tagAttributes));
    if (!textSrc.empty())
        m_body.push_back(concat({"        <text id=\"txt_", id, "\" src=\"", textSrc, "\" />"}));
    if (clips.size() > 1)
        m_body.push_back("        <seq>");
    for (const Clip& clip : clips)
        m_body.push_back(concat({"          <audio src=\"", clip.src, "\" clipBegin=\"", clip.begin, "\" clipEnd=\"",
                                 clip.end, "\" />"}));
    if (clips.size() > 1)
        m_body.push_back("        </seq>");
    m_body.push_back("      </par>");
    return *this;
}

TestBook::Smil2& TestBook::Smil2::seq(std::string_view attributes)
{
    m_body.push_back("      " + openTag("seq", attributes));
    return *this;
}

TestBook::Smil2& TestBook::Smil2::endSeq()
{
    m_body.push_back("      </seq>");
    return *this;
}

TestBook::Smil2& TestBook::Smil2::bodyLine(std::string_view line)
{
    m_body.emplace_back(line);
    return *this;
}

std::string TestBook::Smil2::text() const
{
    std::vector<std::string> lines{
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>",
        "<smil xmlns=\"http://www.w3.org/2001/SMIL20/\">",
        "  <head>",
        "    <meta name=\"dtb:totalElapsedTime\" content=\"0:00:00\" />",
    };
    if (!m_customTests.empty()) {
        lines.push_back("    <customAttributes>");
        append(lines, m_customTests);
        lines.push_back("    </customAttributes>");
    }
    lines.push_back("  </head>");
    lines.push_back("  <body>");
    lines.push_back("    <seq id=\"mseq\">");
    append(lines, m_body);
    lines.push_back("    </seq>");
    lines.push_back("  </body>");
    lines.push_back("</smil>");
    return joined(lines);
}

// ---------------------------------------------------------------------------
// Files

TestBook& TestBook::writePackage(const Package& package, const std::string& name)
{
    return write(name, package.text());
}

TestBook& TestBook::writeNcx(const Ncx& ncx, const std::string& name)
{
    return write(name, ncx.text());
}

TestBook& TestBook::writeSmil2(const std::string& name, const Smil2& smil)
{
    return write(name, smil.text());
}

TestBook& TestBook::writeDtbook(const std::string& name,
                                const std::vector<std::pair<std::string, std::string>>& paragraphs)
{
    std::vector<std::string> lines{
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>",
        "<dtbook xmlns=\"http://www.daisy.org/z3986/2005/dtbook/\" version=\"2005-3\">",
        "  <head><meta name=\"dtb:uid\" content=\"test\" /></head>",
        "  <book><bodymatter><level1>",
    };
    for (const auto& [id, text] : paragraphs)
        lines.push_back(concat({"    <p id=\"", id, "\">", text, "</p>"}));
    lines.push_back("  </level1></bodymatter></book>");
    lines.push_back("</dtbook>");
    return write(name, joined(lines));
}

TestBook& TestBook::writeAudio(const std::string& name, double seconds)
{
    writeToneWav(m_dir.path() / name, seconds);
    return *this;
}

}  // namespace korvin::test
