// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "book/booktables.h"
#include "playback/bookmarks.h"
#include "playback/resumeposition.h"

namespace korvin {

// The places of the open book that outlive it: where the listener left it and
// the bookmarks. Every way of opening or leaving a book calls these three, in
// this order:
//
//   opening: the tables read and the book information taken over
//            -> loadBookmarks() -> book-open flag, menu update -> title cue
//            -> restorePosition()            (not after a change of volume)
//   leaving: timers stopped, book-open flag cleared -> saveOnLeaving() -> reset
//
// `book` is the window's book information of the open book; it must outlive
// this object.
class BookPlaces {
public:
    BookPlaces(const BookInfo& book, ResumePosition& resume, Bookmarks& bookmarks);

    void loadBookmarks();
    void restorePosition();
    // The resume position, then the bookmarks. Files that cannot be written are
    // left as they were; the book closes all the same.
    void saveOnLeaving();

private:
    const BookInfo& m_book;
    ResumePosition& m_resume;
    Bookmarks& m_bookmarks;
};

}  // namespace korvin
