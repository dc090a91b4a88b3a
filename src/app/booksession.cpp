#include "app/booksession.h"

#include <filesystem>

#include "book/bookfilepath.h"
#include "book/nccreader.h"
#include "book/phraselookup.h"
#include "book/textnumbers.h"
#include "library/statefile.h"
#include "platform/controlids.h"
#include "ui/commandids.h"
#include "ui/menustates.h"
#include "ui/stringids.h"

namespace korvin {

namespace {

constexpr const char* kNccFilter = "NCC (ncc.html)";
constexpr const char* kLastBookFile = "/Letztes.dl";

bool isNavigationFile(const std::string& document)
{
    return document.find("ncc.html") != std::string::npos || document.find("NCC.HTML") != std::string::npos;
}

// The file name and the fragment of a link target: "chap2.smil" and "par_12"
// of ".../chap2.smil#par_12".
struct BookLink {
    std::string file;
    std::string fragment;
};

// The book's folder is taken off first: its name may hold a "#" ("Book #1") or
// end in ".smil", and neither belongs to the link. A fragment ends at a double
// quote.
BookLink splitBookLink(const std::string& url, const std::string& bookFolder)
{
    std::string_view rest = url;
    if (!bookFolder.empty() && rest.substr(0, bookFolder.size()) == bookFolder)
        rest.remove_prefix(bookFolder.size());
    BookLink link;
    const std::size_t hash = rest.find('#');
    if (hash != std::string_view::npos) {
        const std::string_view fragment = rest.substr(hash + 1);
        link.fragment = fragment.substr(0, fragment.find('"'));
    }
    const std::string_view path = rest.substr(0, hash);
    const std::size_t slash = path.rfind('/');
    link.file = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return link;
}

std::string folderOfFile(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

std::string openableBookPath(const std::string& bookFolder, const std::string& path)
{
    if (bookFolder.empty() || path.compare(0, bookFolder.size(), bookFolder) != 0)
        return path;
    return findBookFile(bookFolder, std::string_view(path).substr(bookFolder.size()));
}

BookSession::BookSession(Parts parts, PlatformServices platform, Folders folders)
    : m_parts(parts)
    , m_state(parts.state)
    , m_tables(parts.tables)
    , m_menu(parts.menu)
    , m_platform(platform)
    , m_folders(std::move(folders))
{
}

// ---------------------------------------------------------------------------
// Open and Last

void BookSession::open()
{
    if (m_state.playback.bookOpen)
        closeCurrentBook();
    // A manual that could not be read leaves the flag set without an open
    // book; the book chosen now is the listener's own and must be recorded.
    m_state.noLastBook = false;
    const auto chosen = m_platform.dialogs.openNccFile(
        m_parts.strings.get(str::kBrowseTitle, m_state.settings.languageOffset), kNccFilter, std::string());
    if (!chosen)
        return;
    if (readBook(folderOfFile(*chosen))) {
        bookOpened();
        enableLast();
    }
}

void BookSession::openPath(const std::string& path)
{
    std::error_code error;
    std::string folder = path;
    if (std::filesystem::is_directory(path, error)) {
        if (folder.empty() || folder.back() != '/')
            folder += '/';
    } else {
        folder = folderOfFile(path);
    }
    if (m_state.playback.bookOpen)
        closeCurrentBook();
    m_state.noLastBook = false;
    if (readBook(folder)) {
        bookOpened();
        enableLast();
    }
}

void BookSession::help()
{
    m_state.noLastBook = true;
    if (m_state.playback.bookOpen) {
        m_state.playback.bookOpen = false;
        m_parts.engine.stopTimers();
        m_state.textSearchMode = false;
        m_parts.places.saveOnLeaving();
        resetToNoBook();
    }
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
    if (m_state.playback.bookOpen) {
        m_state.playback.bookOpen = false;
        m_parts.engine.stopTimers();
        m_state.textSearchMode = false;
        m_parts.places.saveOnLeaving();
        resetToNoBook();
    }
    const auto lines = readTextLines(lastBookPath());
    if (!lines)
        return;
    const std::string folder = lines->empty() ? std::string() : m_parts.scrambler.unscramble(lines->front());
    if (readBook(folder))
        bookOpened();
    m_menu.setGrayed(cmd::kLastBook, true);
    m_platform.menuBar.redraw();
}

bool BookSession::readBook(const std::string& folder)
{
    const int offset = m_state.settings.languageOffset;
    m_state.playback.bookFolder = folder;
    NccReader reader(m_tables, folder, NccReader::Texts{offset, m_parts.strings.get(str::kOf, offset)});
    const Dialogs::ReadingTexts texts{m_parts.strings.get(str::kReadingCaption, offset),
                                      m_parts.strings.get(str::kReadingGroupText, offset)};
    const int result = m_platform.dialogs.runReading(texts, [&](ReadProgress& progress) { return reader.read(progress); });
    if (result != NccReader::kRead) {
        m_platform.messageBoxes.show(m_parts.strings.get(str::kNccNotOpened, offset),
                                     m_parts.strings.get(str::kNccReadErrorCaption, offset),
                                     MessageBoxes::Icon::kError);
        return false;
    }
    m_readInfo = reader.info();
    m_readCredits = reader.credits();
    m_readFeatures = reader.features();
    return true;
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

void BookSession::closeCurrentBook()
{
    m_parts.engine.stopTimers();
    m_state.playback.bookOpen = false;
    if (!m_state.noLastBook)
        recordLastBook();
    else
        m_state.noLastBook = false;
    m_parts.places.saveOnLeaving();
    resetToNoBook();
}

void BookSession::leaveForExit()
{
    if (!m_state.playback.bookOpen)
        return;
    m_state.playback.bookOpen = false;
    m_parts.engine.stopTimers();
    if (!m_state.noLastBook)
        recordLastBook();
    m_parts.places.saveOnLeaving();
}

void BookSession::closeForChange()
{
    if (!m_state.playback.bookOpen)
        return;
    m_parts.engine.stopTimers();
    m_state.playback.bookOpen = false;
    m_state.textSearchMode = false;
    recordLastBook();
    m_parts.places.saveOnLeaving();
    resetToNoBook();
}

void BookSession::resetToNoBook()
{
    m_parts.engine.stopTimers();
    m_state.playback.currentFragmentId.clear();
    m_state.searchTerm.clear();

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
}

void BookSession::showStartPage()
{
    m_platform.textView.navigate(m_folders.data +
                                 m_parts.strings.get(str::kStartPage, m_state.settings.languageOffset));
    m_state.playback.startPage = true;
}

std::string BookSession::lastBookPath() const
{
    return m_folders.state + kLastBookFile;
}

void BookSession::recordLastBook()
{
    // Written without a line end; a failure is not reported.
    writeFileAtomically(lastBookPath(), m_parts.scrambler.scramble(m_state.playback.bookFolder));
}

// ---------------------------------------------------------------------------
// Moving to a heading

int BookSession::headingSelected(HeadingTree::Item item)
{
    if (!m_state.playback.bookOpen)
        return 0;
    const long heading = m_tables.tree.itemData(item);
    m_parts.engine.unload();
    const bool searchInTextWasGrayed = m_menu.isGrayed(cmd::kSearchText);

    BookTable& phrases = m_tables.phrases;
    std::string lastTreeId;
    bool searchResultsEmptied = false;
    for (int row = 0; row <= phrases.rowCount(); ++row) {
        lastTreeId = phrases.text(row, col::phrase::kTreeId);
        if (toInteger(lastTreeId) != heading) {
            // Text hits belong to one heading.
            if (m_state.textSearchMode && !searchResultsEmptied) {
                emptySearchResults();
                searchResultsEmptied = true;
            }
            continue;
        }
        const std::string& previousDocument = phrases.text(phrases.selectionMark(), col::phrase::kDokument);
        if (!isNavigationFile(previousDocument)) {
            m_menu.setGrayed(cmd::kSearchText, false);
        } else if (!searchInTextWasGrayed) {
            m_menu.setGrayed(cmd::kSearchText, true);
            emptySearchResults();
        }
        m_platform.menuBar.redraw();
        m_menu.setGrayed(cmd::kPhraseForward, false);
        m_platform.menuBar.redraw();
        phrases.setSelectionMark(row);
        phrases.scrollIntoView(row);
        // The row may still be selected from before (the listener went to a
        // heading without phrases and came back): cleared first, selecting it
        // starts the heading all the same.
        phrases.setRowState(row, BookTable::kNone);
        phrases.setRowState(row, BookTable::kSelected);
        break;
    }
    const int headingRow = toInteger(lastTreeId);
    m_tables.headings.scrollIntoView(headingRow);
    m_tables.headings.setRowState(headingRow, BookTable::kSelected);
    return 0;
}

void BookSession::beforeNavigate(const std::string& url, bool& cancel)
{
    if (!m_state.playback.bookOpen)
        return;
    const BookLink link = splitBookLink(url, m_state.playback.bookFolder);
    if (link.file.find(".smil") == std::string::npos && link.file.find(".SMIL") == std::string::npos)
        return;
    cancel = true;
    m_state.playback.forceSeek = true;

    const BookTable& headings = m_tables.headings;
    for (int row = 0; row < headings.rowCount(); ++row) {
        if (headings.text(row, col::heading::kSmil) == link.file) {
            m_tables.headings.scrollIntoView(row);
            m_parts.engine.selectHeadingByIndex(headings.integer(row, col::heading::kTreeId));
            break;
        }
    }
    // A link without a fragment names no phrase; it must not match a row
    // that merely lacks an id.
    if (link.fragment.empty())
        return;
    const int row = findPhraseRow(m_tables, link.file, link.fragment);
    if (row < 0)
        return;
    BookTable& phrases = m_tables.phrases;
    m_state.playback.forceSeek = true;
    phrases.setSelectionMark(row);
    phrases.scrollIntoView(row);
    phrases.setRowState(row, BookTable::kSelected);
}

void BookSession::emptySearchResults()
{
    m_platform.searchResultList.resetContent();
    m_tables.searchHits.deleteAllRows();
}

}  // namespace korvin
