#include "app/volumechange.h"

#include "book/nccreader.h"
#include "book/textnumbers.h"
#include "ui/stringids.h"

namespace korvin {

namespace {

constexpr const char* kNccFilter = "NCC (ncc.html)";

std::string folderOfFile(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

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

std::string VolumeChange::folderAbove(const std::string& bookFolder)
{
    if (bookFolder.size() <= 1)
        return bookFolder;
    const std::string withoutSlash = bookFolder.substr(0, bookFolder.size() - 1);
    const std::size_t slash = withoutSlash.rfind('/');
    return slash == std::string::npos ? bookFolder : withoutSlash.substr(0, slash + 1);
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
            text(str::kBrowseTitle), kNccFilter, folderAbove(m_parts.state.playback.bookFolder));
        if (!chosen) {
            m_parts.session.last();
            return;
        }
        const std::string folder = folderOfFile(*chosen);
        m_parts.state.playback.bookFolder = folder;
        const std::optional<BookInfo> head = readHead(folder);
        if (head && isOtherVolume(current, *head)) {
            finish(folder, heading);
            return;
        }
        const MessageBoxes::Result answer = m_platform.messageBoxes.show(
            text(str::kBookChangeMessage), text(str::kBookChangeCaption), MessageBoxes::Icon::kWarning,
            MessageBoxes::Buttons::kAbortRetryIgnore,
            MessageBoxes::ButtonTexts{text(str::kButtonAbort), text(str::kButtonRetry), text(str::kButtonIgnore)});
        if (answer == MessageBoxes::Result::kRetry)
            continue;
        if (answer == MessageBoxes::Result::kIgnore)
            finish(folder, heading);
        else
            m_parts.session.last();
        return;
    }
}

void VolumeChange::finish(const std::string& folder, int heading)
{
    if (!m_parts.session.readBook(folder))
        return;
    m_parts.state.noLastBook = false;
    m_parts.session.bookOpened(BookSession::Opened::kAsNextVolume);
    m_parts.engine.selectHeadingByIndex(heading);
    m_parts.session.enableLast();
}

}  // namespace korvin
