#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/tempdir.h"

namespace korvin::test {

// A small DAISY 2.02 book written into a fresh temporary folder, from short
// descriptions in the test that needs it:
//
//     TestBook book;
//     book.writeNcc(TestBook::Ncc().meta("dc:title", "Buch").heading(1, "Eins", "a.smil#p1"));
//     book.writeSmil("a.smil", TestBook::Smil().timeInThisSmil("0:00:05")
//                                  .par("p1", "text.html#t1", {{"a.mp3", "0.000", "2.500"}}));
//
// The builders write the usual layout: one element per line, attributes in
// double quotes. Raw lines (headLine, bodyLine) and write() give any exact
// bytes where a test needs them.
class TestBook {
public:
    // An audio clip; begin and end in seconds as written after "npt=" and
    // before the "s".
    struct Clip {
        std::string src;
        std::string begin;
        std::string end;
    };

    class Ncc {
    public:
        // <meta name="NAME" content="CONTENT" />
        Ncc& meta(std::string_view name, std::string_view content);
        // <hLEVEL id="..."><a href="HREF">TITLE</a></hLEVEL>
        Ncc& heading(int level, std::string_view title, std::string_view href);
        // <span class="page-TYPE" id="..."><a href="HREF">LABEL</a></span>
        Ncc& page(std::string_view label, std::string_view href, std::string_view type = "normal");
        // <div class="group" id="..."><a href="HREF">LABEL</a></div>
        Ncc& group(std::string_view label, std::string_view href);
        Ncc& headLine(std::string_view line);
        Ncc& bodyLine(std::string_view line);
        // The whole file with `lineEnd` after every line.
        std::string text(std::string_view lineEnd = "\n") const;

    private:
        std::string nextId();

        std::vector<std::string> m_head;
        std::vector<std::string> m_body;
        int m_ids = 0;
    };

    class Smil {
    public:
        // <meta name="ncc:timeInThisSmil" content="VALUE" />
        Smil& timeInThisSmil(std::string_view value);
        // <meta name="ncc:totalElapsedTime" content="VALUE" />
        Smil& totalElapsedTime(std::string_view value);
        // A par over several lines: the par tag (with system-required when
        // given), the text element, then one audio line per clip (inside a
        // seq when there are several), then "</par>".
        Smil& par(std::string_view id, std::string_view textSrc, const std::vector<Clip>& clips = {},
                  std::string_view systemRequired = {});
        // The same par written on one line.
        Smil& parOnOneLine(std::string_view id, std::string_view textSrc, const std::vector<Clip>& clips,
                           std::string_view systemRequired = {});
        Smil& headLine(std::string_view line);
        Smil& bodyLine(std::string_view line);
        std::string text(std::string_view lineEnd = "\n") const;

    private:
        std::vector<std::string> m_head;
        std::vector<std::string> m_body;
    };

    // The folder of the book, ending in "/".
    std::string folder() const { return m_dir.folder(); }
    const TempDir& dir() const { return m_dir; }

    // Writes exact bytes to `name` below the folder (sub-folders created).
    TestBook& write(const std::string& name, const std::string& bytes);
    TestBook& writeNcc(const Ncc& ncc, const std::string& name = "ncc.html", std::string_view lineEnd = "\n");
    TestBook& writeSmil(const std::string& name, const Smil& smil, std::string_view lineEnd = "\n");
    // A text document: one <p id="ID">TEXT</p> line per paragraph.
    TestBook& writeHtml(const std::string& name, const std::vector<std::pair<std::string, std::string>>& paragraphs);

private:
    TempDir m_dir;
};

}  // namespace korvin::test
