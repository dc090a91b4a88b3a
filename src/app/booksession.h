// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "book/booklocator.h"
#include "app/services.h"
#include "app/windowstate.h"
#include "book/booktables.h"
#include "book/diskfilesource.h"
#include "book/zippedbook.h"
#include "library/scrambler.h"
#include "playback/bookplaces.h"
#include "playback/playbackengine.h"
#include "ui/menumodel.h"
#include "ui/stringtable.h"

namespace korvin {

// The life of an open book in the main window: closing it, the reset to no
// book, Open and Last, reading a book with the reading dialog and the steps
// after a successful reading.
class BookSession {
public:
    struct Parts {
        WindowState& state;
        BookTables& tables;
        MenuModel& menu;
        const StringTable& strings;
        const Scrambler& scrambler;
        PlaybackEngine& engine;
        BookPlaces& places;
    };

    BookSession(Parts parts, PlatformServices platform, Folders folders);

    // Command 32774: close the open book, choose a book's ncc.html, package
    // file or zip file, read it.
    void open();
    // Command 32780: close the open book and read the one named in `Letztes.dl`.
    void last();
    // Opens `path`, a book folder, its ncc.html or package file, or a zip
    // file, as Open does after the file choice (the book given on the command
    // line).
    void openPath(const std::string& path);
    // The help request (F1): closes the open book without recording it as the
    // last book and opens the manual of the interface language.
    void help();

    // What differs between the ways of leaving the open book. Each caller
    // says why it chooses what it does.
    struct Leaving {
        // Whether `Letztes.dl` is written with the folder of the book left.
        enum class LastBook {
            kNotRecorded,   // it keeps naming the book recorded before
            kUnlessManual,  // written unless the no-last-book flag is set (the manual)
            kRecorded,      // written, the manual too
        };
        LastBook lastBook = LastBook::kUnlessManual;
        // Empty the tables and lists, show the start page and gray the book's
        // menu items; not needed when the window ends.
        bool resetToNoBook = true;
        // The search results came from a search in the text; false clears it.
        bool keepTextSearchMode = false;
    };
    // Leaves the open book: stops the timers, clears the book-open flag,
    // records the last book as `how` says, saves the resume position and the
    // bookmarks, and resets to no book. Does nothing when no book is open.
    void leave(const Leaving& how);
    // The state without a book (also the window's state at the start).
    void resetToNoBook();
    // Saves, the book staying open, what leaving it as at exit saves: the last
    // book (unless the manual), the resume position (the player paused) and
    // the bookmarks. Nothing without an open book.
    void savePlaces();

    // Reads the book at `place` (a book folder ending in "/", a package file
    // or a zip file; see BookLocator) with the reading dialog; shows the
    // failure message and returns false when it cannot be read.
    bool readBook(const std::string& place);
    // The six texts of the book at `place`, for the volume test; nullopt,
    // without a message, when it cannot be read.
    std::optional<BookInfo> readHead(const std::string& place) const;
    // The path to open for `path`, a file of the open book (below the book
    // folder): found without regard to letter case, and for a zipped book
    // unpacked first.
    std::string openablePath(const std::string& path);
    // The steps after a successful reading. A change of volume goes on where
    // the listener was, so it has neither the title cue nor the resume position.
    enum class Opened { kWithTitleCue, kWithoutTitleCue, kAsNextVolume };
    void bookOpened(Opened how = Opened::kWithTitleCue);
    // Offers Last again and redraws the menu bar.
    void enableLast();

    // Shows the program's start page in the interface language; while the
    // start page is held, only notes it.
    void showStartPage();
    // Until releaseStartPage(), a start page to show is only noted: the window
    // comes up and has the focus without waiting for the page's layout and
    // fonts. Released, the page last noted is shown, unless a book's document
    // has taken its place meanwhile.
    void holdStartPage();
    void releaseStartPage();

private:
    void leaveForOpening();
    void openPlace(const std::string& place);
    void showFailure(int message, int caption);
    void menuUpdate();
    void recordLastBook();
    std::string lastBookPath() const;

    Parts m_parts;
    WindowState& m_state;
    BookTables& m_tables;
    MenuModel& m_menu;
    PlatformServices m_platform;
    Folders m_folders;
    FeatureFlags m_readFeatures;
    BookInfo m_readInfo;
    BookCredits m_readCredits;
    BookLocator m_locator;
    DiskFileSource m_disk;
    // The archive of the open book when it is zipped; its unpacked files go
    // with it when the book is left.
    std::unique_ptr<ZippedBook> m_zipped;
    bool m_startPageHeld = false;
    std::optional<std::string> m_heldStartPage;
};

// The id of the message that says why a zip file is not opened.
int zipFaultMessage(BookLocator::Fault fault);

}  // namespace korvin
