// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/booksession.h"

#include <utility>
#include <variant>

#include "book/bookfilepath.h"
#include "book/bookreader.h"
#include "library/statefile.h"
#include "platform/controlids.h"
#include "ui/commandids.h"
#include "ui/menustates.h"
#include "ui/stringids.h"

namespace korvin {

namespace {

constexpr const char* kLastBookFile = "/Letztes.dl";

}  // namespace

int zipFaultMessage(BookLocator::Fault fault)
{
    switch (fault) {
    case BookLocator::Fault::kZipUnsafe:
        return str::kZipUnsafe;
    case BookLocator::Fault::kZipTooLarge:
        return str::kZipTooLarge;
    case BookLocator::Fault::kZipTooManyMembers:
        return str::kZipTooManyMembers;
    case BookLocator::Fault::kZipEncrypted:
        return str::kZipEncrypted;
    case BookLocator::Fault::kZipNoBook:
        return str::kZipNoBook;
    case BookLocator::Fault::kZipSeveralBooks:
        return str::kZipSeveralBooks;
    case BookLocator::Fault::kZipUnreadable:
        break;
    }
    return str::kZipUnreadable;
}

BookSession::BookSession(Parts parts, PlatformServices platform, Folders folders)
    : m_parts(parts)
    , m_state(parts.state)
    , m_tables(parts.tables)
    , m_menu(parts.menu)
    , m_platform(platform)
    , m_folders(std::move(folders))
    , m_locator(platform.archives)
{
}

// ---------------------------------------------------------------------------
// Open and Last

void BookSession::open()
{
    leaveForOpening();
    const int offset = m_state.settings.languageOffset;
    const auto chosen = m_platform.dialogs.openNccFile(m_parts.strings.get(str::kBrowseTitle, offset),
                                                       m_parts.strings.get(str::kBookFilter, offset), std::string());
    if (chosen)
        openPlace(BookLocator::placeOfPath(*chosen));
}

void BookSession::openPath(const std::string& path)
{
    const std::string place = BookLocator::placeOfPath(path);
    leaveForOpening();
    openPlace(place);
}

void BookSession::leaveForOpening()
{
    // The book left is recorded, so that Last returns to it, unless it is
    // the manual. The text-search mode stays as it was; the reset empties its
    // results.
    leave({.lastBook = Leaving::LastBook::kUnlessManual, .keepTextSearchMode = true});
    // A manual that could not be read leaves the flag set without an open
    // book; the book chosen now is the listener's own and must be recorded.
    m_state.noLastBook = false;
}

void BookSession::openPlace(const std::string& place)
{
    if (readBook(place)) {
        bookOpened();
        enableLast();
    }
}

void BookSession::help()
{
    m_state.noLastBook = true;
    // The manual is not the listener's book: `Letztes.dl` keeps naming the
    // book recorded before, so that Last returns to it.
    leave({.lastBook = Leaving::LastBook::kNotRecorded});
    const std::string folder =
        m_folders.data + m_parts.strings.get(str::kManualFolder, m_state.settings.languageOffset);
    if (readBook(folder))
        bookOpened();
    // Whatever the result: the listener can go back to the book recorded before.
    enableLast();
}

void BookSession::enableLast()
{
    m_menu.setGrayed(cmd::kLastBook, false);
    m_platform.menuBar.redraw();
}

void BookSession::last()
{
    // Last opens the book `Letztes.dl` names: writing it first would name the
    // book being left.
    leave({.lastBook = Leaving::LastBook::kNotRecorded});
    const auto lines = readTextLines(lastBookPath());
    if (!lines)
        return;
    const std::string place = lines->empty() ? std::string() : m_parts.scrambler.unscramble(lines->front());
    if (readBook(place))
        bookOpened();
    m_menu.setGrayed(cmd::kLastBook, true);
    m_platform.menuBar.redraw();
}

bool BookSession::readBook(const std::string& place)
{
    const int offset = m_state.settings.languageOffset;
    m_state.bookPlace = place;
    m_state.playback.bookFolder = place;
    auto located = m_locator.locate(place);
    if (const auto* fault = std::get_if<BookLocator::Fault>(&located)) {
        showFailure(zipFaultMessage(*fault), str::kZipErrorCaption);
        return false;
    }
    BookLocator::Located& book = std::get<BookLocator::Located>(located);
    m_state.playback.bookFolder = book.folder;
    const FileSource& files = book.zipped ? static_cast<const FileSource&>(*book.zipped) : m_disk;
    BookReader reader(m_tables, book.folder, book.start, NccReader::Texts{offset, m_parts.strings.get(str::kOf, offset)},
                      files);
    const Dialogs::ReadingTexts texts{m_parts.strings.get(str::kReadingCaption, offset),
                                      m_parts.strings.get(str::kReadingGroupText, offset)};
    const int result = m_platform.dialogs.runReading(texts, [&](ReadProgress& progress) { return reader.read(progress); });
    if (result != BookReader::kRead) {
        const bool daisy3 = book.start.format == BookFormat::kDaisy3;
        showFailure(daisy3 ? str::kPackageNotOpened : str::kNccNotOpened,
                    book.zipped ? str::kZipErrorCaption
                                : (daisy3 ? str::kPackageReadErrorCaption : str::kNccReadErrorCaption));
        return false;
    }
    m_readInfo = reader.info();
    m_readCredits = reader.credits();
    m_readFeatures = reader.features();
    // The text view reads a document's style sheets and pictures beside it,
    // so the texts are unpacked before the first phrase shows one.
    if (book.zipped)
        book.zipped->unpackTexts();
    m_zipped = std::move(book.zipped);
    return true;
}

void BookSession::showFailure(int message, int caption)
{
    const int offset = m_state.settings.languageOffset;
    m_platform.messageBoxes.show(m_parts.strings.get(message, offset), m_parts.strings.get(caption, offset),
                                 MessageBoxes::Icon::kError);
}

std::optional<BookInfo> BookSession::readHead(const std::string& place) const
{
    auto located = m_locator.locate(place);
    const auto* book = std::get_if<BookLocator::Located>(&located);
    if (!book)
        return std::nullopt;
    const FileSource& files = book->zipped ? static_cast<const FileSource&>(*book->zipped) : m_disk;
    return readBookHead(book->folder, book->start, files);
}

std::string BookSession::openablePath(const std::string& path)
{
    if (m_zipped)
        return m_zipped->openablePath(path);
    return openableBookPath(m_state.playback.bookFolder, path);
}

void BookSession::bookOpened(Opened how)
{
    m_state.bookInfo = m_readInfo;
    m_state.credits = m_readCredits;
    ++m_state.bookSerial;
    m_state.features = m_readFeatures;
    m_parts.places.loadBookmarks();
    m_state.playback.bookOpen = true;
    menuUpdate();
    if (how == Opened::kWithTitleCue)
        m_parts.engine.titleCue();
    if (how != Opened::kAsNextVolume)
        m_parts.places.restorePosition();
}

// The order matters: selecting the first page starts the book there and moves
// the page items, which the enabling afterwards then sets as a new book has them.
void BookSession::menuUpdate()
{
    const FeatureFlags& features = m_state.features;
    if (features.groups) {
        m_platform.groupList.setEnabled(true);
        for (int row = 0; row < m_tables.groups.rowCount(); ++row)
            m_platform.groupList.addString(m_tables.groups.text(row, col::group::kGruppe));
    }
    if (features.pages) {
        m_tables.pages.setSelectionMark(0);
        m_tables.pages.setRowState(0, BookTable::kSelected);
    }
    const bool hasBookmarks = m_platform.bookmarkList.count() > 0;
    enableBookItems(m_menu, features, m_tables.tree.count(), hasBookmarks);
    if (hasBookmarks)
        m_platform.bookmarkList.setEnabled(true);
    m_platform.menuBar.redraw();
}

// ---------------------------------------------------------------------------
// Closing

void BookSession::leave(const Leaving& how)
{
    if (!m_state.playback.bookOpen)
        return;
    m_parts.engine.stopTimers();
    m_state.playback.bookOpen = false;
    if (!how.keepTextSearchMode)
        m_state.textSearchMode = false;
    if (how.lastBook == Leaving::LastBook::kRecorded ||
        (how.lastBook == Leaving::LastBook::kUnlessManual && !m_state.noLastBook))
        recordLastBook();
    m_parts.places.saveOnLeaving();
    if (how.resetToNoBook)
        resetToNoBook();
}

void BookSession::savePlaces()
{
    if (!m_state.playback.bookOpen)
        return;
    if (!m_state.noLastBook)
        recordLastBook();
    m_parts.places.saveOnLeaving();
}

void BookSession::resetToNoBook()
{
    m_parts.engine.stopTimers();
    m_state.playback.currentFragmentId.clear();
    m_state.searchTerm.clear();
    // The search results go; the mode that says where they came from goes with them.
    m_state.textSearchMode = false;

    if (m_tables.tree.count() > 0) {
        m_tables.tree.deleteAll();
        m_platform.window.redraw();
    }

    m_platform.bookmarkList.resetContent();
    m_platform.groupList.resetContent();
    m_platform.searchResultList.resetContent();
    for (BookTable* table : {&m_tables.phrases, &m_tables.groups, &m_tables.bookmarks, &m_tables.pages,
                             &m_tables.searchHits, &m_tables.headings})
        if (table->rowCount() > 0)
            table->deleteAllRows();

    m_parts.engine.unload();

    m_platform.bookmarkList.setEnabled(false);
    m_platform.groupList.setEnabled(false);
    m_platform.searchResultList.setEnabled(false);

    showStartPage();

    grayBookItems(m_menu);
    m_platform.menuBar.redraw();

    // Nothing of the book left plays or shows now: its unpacked files go.
    m_zipped.reset();
}

void BookSession::showStartPage()
{
    std::string page = m_folders.data + m_parts.strings.get(str::kStartPage, m_state.settings.languageOffset);
    m_state.playback.startPage = true;
    if (m_startPageHeld)
        m_heldStartPage = std::move(page);
    else
        m_platform.textView.navigate(page);
}

void BookSession::holdStartPage()
{
    m_startPageHeld = true;
}

void BookSession::releaseStartPage()
{
    m_startPageHeld = false;
    std::optional<std::string> page = std::exchange(m_heldStartPage, std::nullopt);
    // Every book document shown clears the flag: the view is then the book's.
    if (page && m_state.playback.startPage)
        m_platform.textView.navigate(*page);
}

std::string BookSession::lastBookPath() const
{
    return m_folders.state + kLastBookFile;
}

void BookSession::recordLastBook()
{
    // Written without a line end; a failure is not reported.
    writeFileAtomically(lastBookPath(), m_parts.scrambler.scramble(m_state.bookPlace));
}

}  // namespace korvin
