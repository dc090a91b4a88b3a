// SPDX-License-Identifier: GPL-3.0-or-later
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
//
// A DAISY 3 book the same way, from its package file, navigation file, SMIL 2
// files and DTBook text:
//
//     book.writePackage(TestBook::Package().title("Buch").identifier("id-1").smil("a.smil"));
//     book.writeNcx(TestBook::Ncx().docTitle("Buch").navPoint(1, "Eins", "a.smil#p2"));
//     book.writeSmil2("a.smil", TestBook::Smil2().par("p1", "book.xml#t1", {{"a.wav", "0:00:00", "2.5s"}}));
class TestBook {
public:
    // An audio clip. In a DAISY 2.02 SMIL file begin and end are seconds, as
    // written after "npt=" and before the "s"; in a SMIL 2 file they are the
    // clipBegin and clipEnd values as written.
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

    // A DAISY 3 package file (*.opf). It names the navigation file "book.ncx"
    // unless told otherwise.
    class Package {
    public:
        Package& title(std::string_view value);
        // The dc:Identifier the package's unique-identifier names.
        Package& identifier(std::string_view value);
        Package& date(std::string_view value);
        // <meta name="NAME" content="CONTENT" /> of the x-metadata (dtb:totalTime).
        Package& meta(std::string_view name, std::string_view content);
        // A SMIL file in the manifest and the spine.
        Package& smil(std::string_view href);
        // A manifest item alone, and a spine entry alone.
        Package& item(std::string_view id, std::string_view href, std::string_view mediaType);
        Package& spine(std::string_view idref);
        Package& navigation(std::string_view href);
        Package& withoutNavigation();
        // Lines before the package element (a DOCTYPE) and inside dc-metadata.
        Package& prologue(std::string_view line);
        Package& metadataLine(std::string_view line);
        std::string text() const;

    private:
        std::vector<std::string> m_prologue;
        std::vector<std::string> m_metadata;
        std::vector<std::string> m_meta;
        std::vector<std::string> m_manifest;
        std::vector<std::string> m_spine;
        std::string m_navigation = "book.ncx";
        int m_items = 0;
    };

    // A DAISY 3 navigation file (*.ncx).
    class Ncx {
    public:
        Ncx& meta(std::string_view name, std::string_view content);
        // <smilCustomTest id="ID" bookStruct="STRUCT" ... />
        Ncx& customTest(std::string_view id, std::string_view bookStruct);
        Ncx& docTitle(std::string_view text);
        // A navPoint at `depth` (1 at the top of the navMap) under the last
        // navPoint of depth - 1; `src` is its content's.
        Ncx& navPoint(int depth, std::string_view label, std::string_view src);
        Ncx& page(std::string_view label, std::string_view src, std::string_view type = "normal");
        // A navList with its class and label; navTargets go into the last one.
        Ncx& navList(std::string_view classes, std::string_view label);
        Ncx& navTarget(std::string_view label, std::string_view src);
        Ncx& prologue(std::string_view line);
        Ncx& headLine(std::string_view line);
        std::string text() const;

    private:
        struct NavPoint {
            int depth;
            std::string label;
            std::string src;
        };
        struct NavList {
            std::string classes;
            std::string label;
            std::vector<std::pair<std::string, std::string>> targets;
        };

        std::vector<std::string> m_prologue;
        std::vector<std::string> m_head;
        std::string m_docTitle;
        std::vector<NavPoint> m_navPoints;
        std::vector<std::string> m_pages;
        std::vector<NavList> m_navLists;
        int m_ids = 0;
    };

    // A SMIL 2 file of a DAISY 3 book. The body's seq holds what is added.
    class Smil2 {
    public:
        // A customTest declared in the head.
        Smil2& customTest(std::string_view id);
        // A par over several lines: its text element when `textSrc` is not
        // empty (id "txt_" + id), then its clips (in a seq when several).
        // `attributes` are written into the par tag as given.
        Smil2& par(std::string_view id, std::string_view textSrc, const std::vector<Clip>& clips = {},
                   std::string_view attributes = {});
        Smil2& seq(std::string_view attributes = {});
        Smil2& endSeq();
        Smil2& bodyLine(std::string_view line);
        std::string text() const;

    private:
        std::vector<std::string> m_customTests;
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

    TestBook& writePackage(const Package& package, const std::string& name = "book.opf");
    TestBook& writeNcx(const Ncx& ncx, const std::string& name = "book.ncx");
    TestBook& writeSmil2(const std::string& name, const Smil2& smil);
    // A DTBook text: one <p id="ID">TEXT</p> per paragraph in one level1.
    TestBook& writeDtbook(const std::string& name,
                          const std::vector<std::pair<std::string, std::string>>& paragraphs);
    // A WAV file of a tone lasting `seconds`.
    TestBook& writeAudio(const std::string& name, double seconds);

private:
    TempDir m_dir;
};

}  // namespace korvin::test
