// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/volumechange.h"

#include "book/booklocator.h"
#include "book/textnumbers.h"
#include "ui/stringids.h"

namespace korvin {

VolumeChange::VolumeChange(Parts parts, PlatformServices platform)
    : m_parts(parts)
    , m_platform(platform)
{
}

const std::string& VolumeChange::text(int id) const
{
    return m_parts.strings.get(id, m_parts.state.settings.languageOffset);
}

bool VolumeChange::isOtherVolume(const BookInfo& current, const BookInfo& chosen)
{
    return chosen.date == current.date && chosen.identifier == current.identifier && chosen.title == current.title &&
           chosen.tocItems == current.tocItems && chosen.totalTime == current.totalTime &&
           chosen.setInfo != current.setInfo;
}

std::string VolumeChange::folderAbove(const std::string& bookPlace)
{
    if (bookPlace.size() <= 1)
        return bookPlace;
    const std::string withoutSlash = bookPlace.substr(0, bookPlace.size() - 1);
    const std::size_t slash = withoutSlash.rfind('/');
    return slash == std::string::npos ? bookPlace : withoutSlash.substr(0, slash + 1);
}

void VolumeChange::changeVolume()
{
    // Retry starts over; by then the book is closed and its tables are
    // empty, so the heading read is 0.
    for (;;) {
        const BookInfo current = m_parts.state.bookInfo;
        const BookTable& phrases = m_parts.tables.phrases;
        const int heading = toInteger(phrases.text(phrases.selectionMark(), col::phrase::kTreeId));

        // `Letztes.dl` names the disc being left, the manual too, so that
        // Cancel and Abort return to it through Last.
        m_parts.session.leave({.lastBook = BookSession::Leaving::LastBook::kRecorded});

        const std::optional<std::string> chosen = m_platform.dialogs.openNccFile(
            text(str::kBrowseTitle), text(str::kBookFilter), folderAbove(m_parts.state.bookPlace));
        if (!chosen) {
            m_parts.session.last();
            return;
        }
        const std::string place = BookLocator::placeOfPath(*chosen);
        m_parts.state.bookPlace = place;
        const std::optional<BookInfo> head = m_parts.session.readHead(place);
        if (head && isOtherVolume(current, *head)) {
            finish(place, heading);
            return;
        }
        const MessageBoxes::Result answer = m_platform.messageBoxes.show(
            text(str::kBookChangeMessage), text(str::kBookChangeCaption), MessageBoxes::Icon::kWarning,
            MessageBoxes::Buttons::kAbortRetryIgnore,
            MessageBoxes::ButtonTexts{text(str::kButtonAbort), text(str::kButtonRetry), text(str::kButtonIgnore)});
        if (answer == MessageBoxes::Result::kRetry)
            continue;
        if (answer == MessageBoxes::Result::kIgnore)
            finish(place, heading);
        else
            m_parts.session.last();
        return;
    }
}

void VolumeChange::finish(const std::string& place, int heading)
{
    if (!m_parts.session.readBook(place))
        return;
    m_parts.state.noLastBook = false;
    m_parts.session.bookOpened(BookSession::Opened::kAsNextVolume);
    m_parts.engine.selectHeadingByIndex(heading);
    m_parts.session.enableLast();
}

}  // namespace korvin
