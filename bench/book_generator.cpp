#include "book_generator.h"

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

}  // namespace

GeneratedBook::GeneratedBook(const BookShape& shape)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "korvin-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    m_folder = pattern;

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
        const std::string document = number("kapitel%05d.html", h);
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
}

GeneratedBook::~GeneratedBook()
{
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
