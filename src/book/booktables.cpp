// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/booktables.h"

namespace korvin {

BookTables::BookTables()
    : headings({"Ebene", "Titel", "SMIL", "Zeit", "Zeit verg.", "TreeID"})
    , phrases({"TreeID", "par-id", "Dokument", "Dok-Fragment", "Text-ID", "Audio", "PhrBeg", "PhrEnd", "Skip"})
    , pages({"Seite", "Smil", "Fragment", "TitelID"})
    , groups({"Gruppe", "Smil", "Fragment", "TitelID"})
    , bookmarks({"Titel", "Zeit", "TitelID", "EventID"})
    , searchHits({"TitelID", "Begriff", "EventID", "Fragment"})
{
}

}  // namespace korvin
