// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "book/booktables.h"
#include "book/navigationfile.h"
#include "book/smil2reader.h"

namespace korvin {

// Writes the phrases of a DAISY 3 book's SMIL files, in the order of the
// spine, into the phrase table, and ties them to the headings, pages and
// groups of its navigation file.
//
// A heading begins at the phrase its navPoint's content points to (the par,
// the seq around pars, or the text element of a par that has the id; a
// reference without a fragment points to its file's first phrase); every
// phrase after it belongs to it until the next heading begins. A heading that
// would begin before the heading playing (its navPoint out of the order of the
// book), or whose target is never met, has no phrases. Of headings that begin
// at the same phrase, the first one gets the phrases. When the book's first
// phrase begins no heading, the book's title becomes a first heading that
// holds the phrases before the first heading, so they stay reachable.
class SmilPhraseWriter : public SmilPhraseSink {
public:
    // What one heading of the heading table holds; the title heading, when
    // there is one, first.
    struct HeadingSpan {
        int firstRow = -1;          // -1: the heading never begins
        std::int64_t before = 0;    // microseconds of the book's audio before it
        std::int64_t duration = 0;  // microseconds of its own audio
        std::string smilFile;       // the file its first phrase is in
    };

    SmilPhraseWriter(BookTable& phrases, std::string bookFolder, const NavigationFile& navigation,
                     FeatureFlags& features);

    // The file whose phrases follow, relative to the book folder.
    void beginFile(std::string_view smilFile);
    void anchor(std::string_view id) override;
    void phrase(const SmilPhrase& phrase) override;

    // Valid after the last file.
    bool hasTitleHeading() const { return m_titleHeading; }
    // One per heading row: the title heading (when there is one), then one
    // per heading of the navigation file.
    std::vector<HeadingSpan> headingSpans() const;
    // The phrase row where a page or group of the navigation file begins; -1
    // when its target was never met.
    int pageRow(std::size_t page) const { return m_pageRows[page]; }
    int groupRow(std::size_t group) const { return m_groupRows[group]; }
    // Microseconds of all the clips written.
    std::int64_t totalDuration() const { return m_total; }

private:
    struct Target {
        enum Kind { kHeading, kPage, kGroup };
        Kind kind;
        std::size_t index;
    };
    struct FileTargets {
        std::vector<std::pair<std::string, Target>> byId;  // sorted by id
        std::uint64_t shapes = 0;                          // shapeBit() of every id of byId
        std::vector<Target> wholeFile;
    };

    void addTarget(const NavigationTarget& target, Target what);
    void beginTargets(int firstRow);
    void takeText(std::string_view src);
    void takeAudio(std::string_view src);
    void writeRow(const SmilPhrase& phrase, const SmilPhrase::Clip* clip, std::string_view skipClass);

    BookTable& m_phrases;
    std::string m_folder;
    FeatureFlags& m_features;

    std::unordered_map<std::string, FileTargets> m_targets;
    const FileTargets* m_fileTargets = nullptr;
    std::vector<Target> m_pending;

    std::vector<HeadingSpan> m_spans;  // slot 0: the title heading
    std::vector<int> m_pageRows;
    std::vector<int> m_groupRows;
    bool m_started = false;
    bool m_titleHeading = false;
    int m_currentSpan = 0;
    std::string m_treeId;
    std::int64_t m_total = 0;

    // The file being read and what was last resolved in it.
    std::string m_smilFile;
    bool m_textCached = false;
    std::string m_textFile;  // as written
    std::string m_document;  // book folder + its path; empty when it leaves the book
    std::string_view m_fragment;  // into the text src of the phrase being written
    bool m_audioCached = false;
    std::string m_audioSrc;  // as written
    std::string m_audio;     // relative to the book folder; empty when it leaves the book
    std::string_view m_lastEndWritten;  // a clip end as written in this file
    // The cell that holds its time: appended rows stay where they are.
    const std::string* m_lastEndCell = nullptr;
};

}  // namespace korvin
