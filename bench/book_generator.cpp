// SPDX-License-Identifier: GPL-3.0-or-later
#include "book_generator.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string_view>
#include <system_error>

namespace korvin::bench {

namespace {

std::string number(const char* format, int value)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string seconds(int milliseconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d.%03d", milliseconds / 1000, milliseconds % 1000);
    return text;
}

// Levels 1, 2, 3, 3, 2, 3, 3, then again: three levels, mostly deep.
int levelOf(int heading)
{
    static constexpr int kPattern[] = {1, 2, 3, 3, 2, 3, 3};
    return kPattern[heading % 7];
}

// The bytes of UTF-8 text a piece of markup stands for: tags count nothing,
// each entity (all of them Latin-1 letters) two bytes.
std::size_t textLength(std::string_view markup)
{
    std::size_t length = 0;
    for (std::size_t i = 0; i < markup.size(); ++i) {
        if (markup[i] == '<') {
            i = markup.find('>', i);
            if (i == std::string_view::npos)
                break;
        } else if (markup[i] == '&') {
            i = markup.find(';', i);
            length += 2;
            if (i == std::string_view::npos)
                break;
        } else {
            ++length;
        }
    }
    return length;
}

}  // namespace

GeneratedBook::GeneratedBook(const BookShape& shape)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "korvin-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    m_folder = pattern;
    generate(shape);
}

GeneratedBook::GeneratedBook(const BookShape& shape, const std::filesystem::path& folder)
    : m_folder(folder)
    , m_kept(true)
{
    std::filesystem::create_directories(m_folder);
    generate(shape);
}

void GeneratedBook::generate(const BookShape& shape)
{
    std::string ncc;
    ncc += "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
           "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
           "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\r\n"
           "<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n"
           "\t<head>\r\n"
           "\t\t<meta http-equiv=\"Content-type\" content=\"text/html; charset=utf-8\" />\r\n"
           "\t\t<title>Ein sehr langes Buch</title>\r\n"
           "\t\t<meta name=\"dc:title\" content=\"Ein sehr langes Buch\" />\r\n"
           "\t\t<meta name=\"dc:identifier\" content=\"bench-0001\" />\r\n"
           "\t\t<meta name=\"dc:date\" content=\"2024-05-01\" />\r\n"
           "\t\t<meta name=\"ncc:charset\" content=\"utf-8\" />\r\n"
           "\t\t<meta name=\"ncc:setInfo\" content=\"1 of 1\" />\r\n"
           "\t\t<meta name=\"ncc:totalTime\" content=\"120:00:00\" />\r\n";
    const int tocItems = shape.headings * (1 + shape.pagesPerHeading);
    ncc += "\t\t<meta name=\"ncc:tocItems\" content=\"" + std::to_string(tocItems) + "\" />\r\n";
    ncc += "\t</head>\r\n\t<body>\r\n";

    int par = 0;
    int page = 0;
    std::vector<std::vector<int>> parsOfDocument(static_cast<std::size_t>(std::max(shape.documents, 0)));
    for (int h = 0; h < shape.headings; ++h) {
        const std::string smil = number("kapitel%05d.smil", h);
        const std::string level = std::to_string(levelOf(h));
        const std::string id = number("par_%06d", par);
        ncc += "\t\t<h" + level + " id=\"ncc_h" + std::to_string(h) + "\"><a href=\"" + smil + "#" + id +
               "\">Kapitel " + std::to_string(h + 1) + ": Über die Größe der Dinge und ihre Ordnung</a></h" + level +
               ">\r\n";

        std::string text;
        text += "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                "<!DOCTYPE smil PUBLIC \"-//W3C//DTD SMIL 1.0//EN\" \"http://www.w3.org/TR/REC-smil/SMIL10.dtd\">\r\n"
                "<smil>\r\n\t<head>\r\n"
                "\t\t<meta name=\"dc:format\" content=\"Daisy 2.02\" />\r\n"
                "\t\t<meta name=\"ncc:generator\" content=\"korvin bench\" />\r\n"
                "\t\t<meta name=\"ncc:timeInThisSmil\" content=\"0:02:30\" />\r\n"
                "\t\t<layout>\r\n\t\t\t<region id=\"txtView\" />\r\n\t\t</layout>\r\n"
                "\t</head>\r\n\t<body>\r\n\t\t<seq dur=\"150.000s\">\r\n";
        const int documentIndex = shape.documents > 0 ? static_cast<int>(static_cast<long long>(h) * shape.documents / shape.headings) : 0;
        const std::string document =
            shape.documents > 0 ? number("text%05d.html", documentIndex) : number("kapitel%05d.html", h);
        const std::string audio = number("kapitel%05d.mp3", h);
        for (int p = 0; p < shape.parsPerHeading; ++p, ++par) {
            const std::string parId = number("par_%06d", par);
            const char* required = "";
            if (p % 25 == 24)
                required = " system-required=\"footnote-on\"";
            else if (p % 10 == 9)
                required = " system-required=\"pagenumber-on\"";
            text += "\t\t\t<par endsync=\"last\"" + std::string(required) + " id=\"" + parId + "\">\r\n";
            text += "\t\t\t\t<text src=\"" + document + "#" + number("p%06d", par) + "\" id=\"" +
                    number("txt_%06d", par) + "\" />\r\n";
            text += "\t\t\t\t<audio src=\"" + audio + "\" clip-begin=\"npt=" + seconds(p * 3000) + "s\" clip-end=\"npt=" +
                    seconds(p * 3000 + 2999) + "s\" id=\"" + number("aud_%06d", par) + "\" />\r\n";
            text += "\t\t\t</par>\r\n";
            if (shape.documents > 0)
                parsOfDocument[static_cast<std::size_t>(documentIndex)].push_back(par);
        }
        text += "\t\t</seq>\r\n\t</body>\r\n</smil>\r\n";
        write(smil, text);
        m_phrases += shape.parsPerHeading;

        for (int p = 0; p < shape.pagesPerHeading; ++p, ++page) {
            const int target = par - shape.parsPerHeading + p * (shape.parsPerHeading / shape.pagesPerHeading);
            ncc += "\t\t<span class=\"page-normal\" id=\"ncc_p" + std::to_string(page) + "\"><a href=\"" + smil + "#" +
                   number("par_%06d", target) + "\">" + std::to_string(page + 1) + "</a></span>\r\n";
        }
        if (shape.headingsPerGroup > 0 && h % shape.headingsPerGroup == shape.headingsPerGroup - 1)
            ncc += "\t\t<div class=\"group\" id=\"ncc_g" + std::to_string(h) + "\"><a href=\"" + smil + "#" + id +
                   "\">Gruppe " + std::to_string(h / shape.headingsPerGroup + 1) + "</a></div>\r\n";
    }
    ncc += "\t</body>\r\n</html>\r\n";
    write("ncc.html", ncc);
    m_nccBytes = ncc.size();
    if (shape.documents > 0)
        writeDocuments(shape, parsOfDocument);
}

// Sentences of everyday words, some written with entities, some with markup
// inside; the common word only where the shape asks for it.
void GeneratedBook::writeDocuments(const BookShape& shape, const std::vector<std::vector<int>>& parsOfDocument)
{
    static const char* const kWords[] = {
        "der", "die", "das", "und", "ein", "Haus", "Garten", "Stra&szlig;e", "gr&ouml;&szlig;er", "M&uuml;ller",
        "sprach", "Abend", "Morgen", "<em>leise</em>", "Frieden", "Stadt", "Fenster", "&Auml;pfel", "Wasser",
        "Himmel", "&uuml;ber", "nach", "weit", "Licht", "<span class=\"w\">Wort</span>", "Reise", "Br&uuml;cke",
    };
    constexpr int kWordCount = static_cast<int>(sizeof kWords / sizeof kWords[0]);
    const std::size_t perParagraph =
        std::max<std::size_t>(20, shape.textBytes / static_cast<std::size_t>(std::max(m_phrases, 1)));
    unsigned random = 12345;
    for (std::size_t d = 0; d < parsOfDocument.size(); ++d) {
        std::string html = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                           "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
                           "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\r\n"
                           "<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n<head>\r\n"
                           "<meta http-equiv=\"Content-type\" content=\"text/html; charset=utf-8\" />\r\n"
                           "<title>Text</title>\r\n<link rel=\"stylesheet\" href=\"book.css\" />\r\n"
                           "</head>\r\n<body>\r\n";
        for (const int par : parsOfDocument[d]) {
            const bool heading = par % shape.parsPerHeading == 0;
            html += heading ? "<h2 id=\"" : "<p class=\"text\" id=\"";
            html += number("p%06d", par) + "\">";
            std::size_t written = 0;
            if (shape.commonWordEvery > 0 && par % shape.commonWordEvery == 9) {
                html += "Der Vertrag ";
                written += 12;
            }
            while (written < perParagraph) {
                random = random * 1103515245u + 12345u;
                const char* word = kWords[(random >> 16) % kWordCount];
                html += word;
                html += ' ';
                written += textLength(word) + 1;
            }
            html += heading ? "</h2>\r\n" : "</p>\r\n";
            m_textBytes += written;
        }
        html += "</body>\r\n</html>\r\n";
        const std::string name = number("text%05d.html", static_cast<int>(d));
        write(name, html);
        m_documents.push_back(name);
        m_documentBytes += html.size();
    }
}

GeneratedBook::~GeneratedBook()
{
    if (m_kept)
        return;
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

void GeneratedBook::write(const std::string& name, const std::string& text)
{
    std::ofstream out(m_folder / name, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + name);
    m_files.push_back(name);
    m_totalBytes += text.size();
}

}  // namespace korvin::bench
