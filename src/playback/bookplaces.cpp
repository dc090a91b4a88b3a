// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/bookplaces.h"

namespace korvin {

BookPlaces::BookPlaces(const BookInfo& book, ResumePosition& resume, Bookmarks& bookmarks)
    : m_book(book)
    , m_resume(resume)
    , m_bookmarks(bookmarks)
{
}

void BookPlaces::loadBookmarks()
{
    m_bookmarks.load(m_book);
}

void BookPlaces::restorePosition()
{
    m_resume.restore(m_book);
}

void BookPlaces::saveOnLeaving()
{
    m_resume.save(m_book);
    m_bookmarks.save(m_book);
}

}  // namespace korvin
