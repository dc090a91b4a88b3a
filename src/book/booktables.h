// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <vector>

#include "book/booktable.h"
#include "book/headingtree.h"

namespace korvin {

// Column indexes of the six tables, one namespace per table, in column order.
namespace col {
// Heading table: "Ebene", "Titel", "SMIL", "Zeit", "Zeit verg.", "TreeID".
namespace heading {
inline constexpr int kEbene = 0;
inline constexpr int kTitel = 1;
inline constexpr int kSmil = 2;
inline constexpr int kZeit = 3;
inline constexpr int kZeitVerg = 4;
inline constexpr int kTreeId = 5;
}  // namespace heading
// Phrase table: "TreeID", "par-id", "Dokument", "Dok-Fragment", "Text-ID",
// "Audio", "PhrBeg", "PhrEnd", "Skip".
namespace phrase {
inline constexpr int kTreeId = 0;
inline constexpr int kParId = 1;
inline constexpr int kDokument = 2;
inline constexpr int kDokFragment = 3;
inline constexpr int kTextId = 4;
inline constexpr int kAudio = 5;
inline constexpr int kPhrBeg = 6;
inline constexpr int kPhrEnd = 7;
inline constexpr int kSkip = 8;
}  // namespace phrase
// Page table: "Seite", "Smil", "Fragment", "TitelID".
namespace page {
inline constexpr int kSeite = 0;
inline constexpr int kSmil = 1;
inline constexpr int kFragment = 2;
inline constexpr int kTitelId = 3;
}  // namespace page
// Group table: "Gruppe", "Smil", "Fragment", "TitelID".
namespace group {
inline constexpr int kGruppe = 0;
inline constexpr int kSmil = 1;
inline constexpr int kFragment = 2;
inline constexpr int kTitelId = 3;
}  // namespace group
// Bookmark table: "Titel", "Zeit", "TitelID", "EventID".
namespace bookmark {
inline constexpr int kTitel = 0;
inline constexpr int kZeit = 1;
inline constexpr int kTitelId = 2;
inline constexpr int kEventId = 3;
}  // namespace bookmark
// Search-hit table: "TitelID", "Begriff", "EventID", "Fragment".
namespace searchhit {
inline constexpr int kTitelId = 0;
inline constexpr int kBegriff = 1;
inline constexpr int kEventId = 2;
inline constexpr int kFragment = 3;
}  // namespace searchhit
}  // namespace col

// The six book tables and the heading tree, with their columns, as the main
// window owns them for the whole run.
struct BookTables {
    BookTables();

    BookTable headings;
    BookTable phrases;
    BookTable pages;
    BookTable groups;
    BookTable bookmarks;
    BookTable searchHits;
    HeadingTree tree;
};

// Empties what a reading fills (phrases, pages, headings, the tree) before a
// book is read into the tables.
void emptyReadingTables(BookTables& tables);

// The six texts of the NCC head that identify a book.
struct BookInfo {
    std::string date;
    std::string identifier;
    std::string title;
    std::string tocItems;
    std::string totalTime;
    std::string setInfo;
    friend bool operator==(const BookInfo&, const BookInfo&) = default;
};

// How a book names itself to people: its title and its creators, decoded to
// UTF-8 (the book information keeps the title's bytes as written, to compare).
struct BookCredits {
    std::string title;
    std::vector<std::string> creators;
    friend bool operator==(const BookCredits&, const BookCredits&) = default;
};

// What the reading found in the book; decides the menu state.
struct FeatureFlags {
    bool audio = false;
    bool groups = false;
    bool pages = false;
    bool footnotes = false;
    bool sidebars = false;
    bool prodnotes = false;
    bool pageNumbers = false;
    bool textDocuments = false;
    friend bool operator==(const FeatureFlags&, const FeatureFlags&) = default;
};

}  // namespace korvin
