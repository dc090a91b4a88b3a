// SPDX-License-Identifier: GPL-3.0-or-later
#include "daisy3_generator.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace korvin::bench {

namespace {

std::string number(const char* format, int value)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// A full clock value as production tools write it: 0:02:05.250.
std::string clock(int milliseconds)
{
    char text[48];
    const int seconds = milliseconds / 1000;
    std::snprintf(text, sizeof text, "%d:%02d:%02d.%03d", seconds / 3600, seconds / 60 % 60, seconds % 60,
                  milliseconds % 1000);
    return text;
}

int levelOf(int heading)
{
    static constexpr int kPattern[] = {1, 2, 3, 3, 2, 3, 3};
    return kPattern[heading % 7];
}

std::string indent(int depth)
{
    return std::string(static_cast<std::size_t>(3 + 3 * depth), ' ');
}

}  // namespace

GeneratedDaisy3Book::GeneratedDaisy3Book(int headingsPerSmil, int headings, int parsPerHeading, int pagesPerHeading)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "korvin-bench3-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    m_folder = pattern;

    std::string manifest;
    std::string spine;
    std::string navMap;
    std::string pageList;
    std::string notes;
    std::string smil;
    std::string smilName;
    int openNavPoints = 0;
    int playOrder = 0;
    int par = 0;
    int page = 0;
    int elapsed = 0;
    const auto finishSmil = [&] {
        if (smilName.empty())
            return;
        smil += "      </seq>\n   </body>\n</smil>\n";
        write(smilName, smil);
    };
    for (int h = 0; h < headings; ++h) {
        const int level = levelOf(h);
        const int file = h / headingsPerSmil + 1;
        if (h % headingsPerSmil == 0) {
            finishSmil();
            smilName = number("speechgen%04d.smil", file);
            const std::string id = number("smil-%d", file);
            manifest += "      <item href=\"" + smilName + "\" id=\"" + id + "\" media-type=\"application/smil\" />\n";
            manifest += "      <item href=\"" + number("speechgen%04d.mp3", file) + "\" id=\"" +
                        number("mp3-%d", file) + "\" media-type=\"audio/mpeg\" />\n";
            spine += "      <itemref idref=\"" + id + "\" />\n";
            smil = "<?xml version='1.0' encoding='UTF-8'?>\n"
                   "<!DOCTYPE smil PUBLIC \"-//NISO//DTD dtbsmil 2005-1//EN\" "
                   "\"http://www.daisy.org/z3986/2005/dtbsmil-2005-1.dtd\" []>\n"
                   "<smil xmlns=\"http://www.w3.org/2001/SMIL20/\">\n   <head>\n"
                   "      <meta content=\"bench-0001\" name=\"dtb:uid\" />\n"
                   "      <meta content=\"korvin bench\" name=\"dtb:generator\" />\n"
                   "      <meta content=\"" + clock(elapsed) + "\" name=\"dtb:totalElapsedTime\" />\n"
                   "      <customAttributes>\n"
                   "         <customTest defaultState=\"false\" id=\"note\" override=\"visible\" />\n"
                   "         <customTest defaultState=\"false\" id=\"pagenum\" override=\"visible\" />\n"
                   "      </customAttributes>\n"
                   "   </head>\n   <body>\n      <seq fill=\"remove\" id=\"mseq\">\n";
            elapsed = 0;
        }
        for (; openNavPoints >= level; --openNavPoints)
            navMap += indent(openNavPoints) + "</navPoint>\n";
        const std::string firstPar = number("tcp%d", par + 1);
        ++openNavPoints;
        navMap += indent(openNavPoints) + "<navPoint class=\"h" + std::to_string(level) + "\" id=\"" +
                  number("ncx-%d", h + 1) + "\" playOrder=\"" + std::to_string(++playOrder) + "\">\n" +
                  indent(openNavPoints) + "   <navLabel>\n" + indent(openNavPoints) + "      <text>Kapitel " +
                  std::to_string(h + 1) + ": Über die Größe der Dinge und ihre Ordnung</text>\n" +
                  indent(openNavPoints) + "   </navLabel>\n" + indent(openNavPoints) + "   <content src=\"" +
                  smilName + "#" + firstPar + "\" />\n";

        const std::string audio = number("speechgen%04d.mp3", file);
        for (int p = 0; p < parsPerHeading; ++p) {
            ++par;
            const bool note = p % 25 == 24;
            const bool pageNumber = p % 10 == 9;
            const std::string parId = number("tcp%d", par);
            if (note)
                smil += "         <seq class=\"note\" customTest=\"note\" id=\"" + number("tcs%d", par) + "\">\n";
            smil += std::string("         <par ") + (pageNumber ? "class=\"pagenum\" customTest=\"pagenum\" " : "") +
                    "id=\"" + parId + "\">\n";
            smil += "            <text id=\"" + number("text%d", par) + "\" src=\"dtbook.xml#" + number("dtb%d", par) +
                    "\" />\n";
            smil += "            <audio clipBegin=\"" + clock(elapsed) + "\" clipEnd=\"" + clock(elapsed + 2999) +
                    "\" src=\"" + audio + "\" />\n";
            smil += "         </par>\n";
            if (note) {
                smil += "         </seq>\n";
                notes += "      <navTarget id=\"" + number("nt-%d", par) + "\" playOrder=\"" +
                         std::to_string(++playOrder) + "\">\n         <navLabel><text>Fußnote " +
                         std::to_string(par) + "</text></navLabel>\n         <content src=\"" + smilName + "#" +
                         number("tcs%d", par) + "\" />\n      </navTarget>\n";
            }
            elapsed += 2999;
        }
        for (int p = 0; p < pagesPerHeading; ++p) {
            ++page;
            const int target = par - parsPerHeading + 1 + p * (parsPerHeading / pagesPerHeading);
            pageList += "      <pageTarget id=\"" + number("page-%d", page) + "\" playOrder=\"" +
                        std::to_string(++playOrder) + "\" type=\"normal\" value=\"" + std::to_string(page) +
                        "\">\n         <navLabel><text>" + std::to_string(page) +
                        "</text></navLabel>\n         <content src=\"" + smilName + "#" + number("tcp%d", target) +
                        "\" />\n      </pageTarget>\n";
        }
        m_phrases += parsPerHeading;
    }
    finishSmil();
    for (; openNavPoints > 0; --openNavPoints)
        navMap += indent(openNavPoints) + "</navPoint>\n";

    const std::string ncx = "<?xml version='1.0' encoding='UTF-8'?>\n"
                            "<!DOCTYPE ncx PUBLIC \"-//NISO//DTD ncx 2005-1//EN\" "
                            "\"http://www.daisy.org/z3986/2005/ncx-2005-1.dtd\" []>\n"
                            "<ncx xmlns=\"http://www.daisy.org/z3986/2005/ncx/\" version=\"2005-1\">\n   <head>\n"
                            "      <meta content=\"bench-0001\" name=\"dtb:uid\" />\n"
                            "      <meta content=\"3\" name=\"dtb:depth\" />\n"
                            "      <smilCustomTest bookStruct=\"NOTE\" defaultState=\"false\" id=\"note\" "
                            "override=\"visible\" />\n"
                            "      <smilCustomTest bookStruct=\"PAGE_NUMBER\" defaultState=\"false\" id=\"pagenum\" "
                            "override=\"visible\" />\n   </head>\n"
                            "   <docTitle><text>Ein sehr langes Buch</text></docTitle>\n"
                            "   <navMap id=\"navMap\">\n" +
                            navMap + "   </navMap>\n   <pageList>\n" + pageList +
                            "   </pageList>\n   <navList class=\"note\">\n      <navLabel><text>Fußnoten</text></navLabel>\n" +
                            notes + "   </navList>\n</ncx>\n";
    write("book.ncx", ncx);

    const std::string opf =
        "<?xml version='1.0' encoding='UTF-8'?>\n"
        "<!DOCTYPE package PUBLIC \"+//ISBN 0-9673008-1-9//DTD OEB 1.2 Package//EN\" "
        "\"http://openebook.org/dtds/oeb-1.2/oebpkg12.dtd\" []>\n"
        "<package xmlns=\"http://openebook.org/namespaces/oeb-package/1.0/\" unique-identifier=\"uid\">\n"
        "   <metadata>\n      <dc-metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
        "         <dc:Format>ANSI/NISO Z39.86-2005</dc:Format>\n"
        "         <dc:Title>Ein sehr langes Buch</dc:Title>\n"
        "         <dc:Identifier id=\"uid\">bench-0001</dc:Identifier>\n"
        "         <dc:Date>2024-05-01</dc:Date>\n      </dc-metadata>\n      <x-metadata>\n"
        "         <meta content=\"audioFullText\" name=\"dtb:multimediaType\" />\n"
        "         <meta content=\"125:00:00\" name=\"dtb:totalTime\" />\n      </x-metadata>\n   </metadata>\n"
        "   <manifest>\n"
        "      <item href=\"book.ncx\" id=\"ncx\" media-type=\"application/x-dtbncx+xml\" />\n"
        "      <item href=\"dtbook.xml\" id=\"text\" media-type=\"application/x-dtbook+xml\" />\n" +
        manifest + "   </manifest>\n   <spine>\n" + spine + "   </spine>\n</package>\n";
    write(kPackageName, opf);
}

GeneratedDaisy3Book::~GeneratedDaisy3Book()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

void GeneratedDaisy3Book::write(const std::string& name, const std::string& text)
{
    std::ofstream out(m_folder / name, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + name);
    m_files.push_back(name);
    m_totalBytes += text.size();
}

}  // namespace korvin::bench
