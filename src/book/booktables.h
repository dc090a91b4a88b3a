#pragma once

#include <array>
#include <string>

#include "book/booktable.h"
#include "book/headingtree.h"

namespace korvin {

// Column indexes of the six tables, in column order.
namespace col {
// Heading table: "Ebene", "Titel", "SMIL", "Zeit", "Zeit verg.", "TreeID".
enum Heading { kEbene = 0, kTitel, kSmil, kZeit, kZeitVerg, kTreeId };
// Phrase table: "TreeID", "par-id", "Dokument", "Dok-Fragment", "Text-ID", "Audio",
// "PhrBeg", "PhrEnd", "Skip".
enum Phrase { kPhraseTreeId = 0, kParId, kDokument, kDokFragment, kTextId, kAudio, kPhrBeg, kPhrEnd, kSkip };
// Page table: "Seite", "Smil", "Fragment", "TitelID"; the group table has
// "Gruppe" in the first column and the same others.
enum Page { kSeite = 0, kPageSmil, kPageFragment, kPageTitelId };
enum Group { kGruppe = 0, kGroupSmil, kGroupFragment, kGroupTitelId };
// Bookmark table: "Titel", "Zeit", "TitelID", "EventID".
enum Bookmark { kBookmarkTitel = 0, kBookmarkZeit, kBookmarkTitelId, kBookmarkEventId };
// Search-hit table: "TitelID", "Begriff", "EventID", "Fragment".
enum SearchHit { kHitTitelId = 0, kHitBegriff, kHitEventId, kHitFragment };
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
