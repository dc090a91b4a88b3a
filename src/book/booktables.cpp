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

void emptyReadingTables(BookTables& tables)
{
    if (tables.phrases.rowCount() > 0)
        tables.phrases.deleteAllRows();
    if (tables.pages.rowCount() > 0)
        tables.pages.deleteAllRows();
    if (tables.headings.rowCount() > 0)
        tables.headings.deleteAllRows();
    if (tables.tree.count() > 0)
        tables.tree.deleteAll();
}

}  // namespace korvin
