// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/listopening.h"

#include <utility>

#include "library/booklistfile.h"
#include "library/booksearch.h"
#include "library/drives.h"
#include "ui/stringids.h"

namespace korvin {

ListOpening::ListOpening(Parts parts, PlatformServices platform, Folders folders)
    : m_parts(parts)
    , m_platform(platform)
    , m_folders(std::move(folders))
{
}

const std::string& ListOpening::text(int id) const
{
    return m_parts.strings.get(id, m_parts.state.settings.languageOffset);
}

void ListOpening::openFromList()
{
    // `Letztes.dl` names the book being left, the manual too, so that Last
    // returns to it whatever is chosen from the list.
    m_parts.session.leave({.lastBook = BookSession::Leaving::LastBook::kRecorded});

    const Dialogs::DriveTexts driveTexts{text(str::kDriveChoiceCaption), text(str::kDriveColumn),
                                         text(str::kDriveNameColumn), text(str::kOk), text(str::kCancel)};
    const std::optional<std::string> drive =
        m_platform.dialogs.chooseDrive(driveTexts, listDrives(text(str::kHomeFolder)));
    if (!drive)
        return;

    const BookListFile file(m_folders.state, *drive, m_parts.scrambler);
    BookSearch search(*drive, file, m_parts.strings, m_parts.state.settings.languageOffset,
                      BookSearch::Services{m_platform.waitWindow, m_platform.messageBoxes, m_platform.archives});
    search.load();
    const Dialogs::BookSearchTexts bookTexts{text(str::kBookSearchCaption), text(str::kOk), text(str::kCancel)};
    const std::optional<std::string> folder = m_platform.dialogs.chooseBook(bookTexts, search);
    if (!folder || folder->empty())
        return;

    // A book chosen by the listener is recorded when it is left, even after
    // the manual.
    m_parts.state.noLastBook = false;
    if (m_parts.session.readBook(*folder)) {
        m_parts.session.bookOpened(BookSession::Opened::kWithoutTitleCue);
        m_parts.session.enableLast();
    }
}

}  // namespace korvin
