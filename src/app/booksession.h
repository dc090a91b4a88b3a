#pragma once

#include <optional>
#include <string>

#include "app/services.h"
#include "app/windowstate.h"
#include "book/booktables.h"
#include "library/scrambler.h"
#include "playback/bookplaces.h"
#include "playback/playbackengine.h"
#include "ui/menumodel.h"
#include "ui/stringtable.h"

namespace korvin {

// The path to open for `path`, a file of the book in `bookFolder`: the file
// under its exact name, or under the one name of its folder that matches it
// without regard to letter case.
std::string openableBookPath(const std::string& bookFolder, const std::string& path);

// The life of an open book in the main window: closing it, the reset to no
// book, Open and Last, reading a book with the reading dialog, the steps after
// a successful reading, and the two ways of moving to a heading that are not
// commands: choosing it in the heading tree and following a link in the text.
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

    // Command 32774: close the open book, choose an ncc.html, read it.
    void open();
    // Command 32780: close the open book and read the one named in `Letztes.dl`.
    void last();
    // Opens `path`, a book folder or its ncc.html, as Open does after the file
    // choice (the book given on the command line).
    void openPath(const std::string& path);
    // The help request (F1): closes the open book without recording it as the
    // last book and opens the manual of the interface language.
    void help();

    // Closing the book the way Open does, and the state without a book.
    void closeCurrentBook();
    void resetToNoBook();
    // The exit procedure's part: records the last book and the book's places.
    void leaveForExit();
    // Closing before a change of volume or a book from the list: the book is
    // recorded as the last book even when it is the manual.
    void closeForChange();

    // Reads the book in `folder` (ending in "/") with the reading dialog;
    // shows the failure message and returns false when it cannot be read.
    bool readBook(const std::string& folder);
    // The steps after a successful reading. A change of volume goes on where
    // the listener was, so it has neither the title cue nor the resume position.
    enum class Opened { kWithTitleCue, kWithoutTitleCue, kAsNextVolume };
    void bookOpened(Opened how = Opened::kWithTitleCue);
    // Offers Last again and redraws the menu bar.
    void enableLast();

    // Reactions: the tree's selection changed; the text view is about to
    // follow a link (may cancel it).
    int headingSelected(HeadingTree::Item item);
    void beforeNavigate(const std::string& url, bool& cancel);

    void showStartPage();

private:
    void menuUpdate();
    void recordLastBook();
    std::string lastBookPath() const;
    void emptySearchResults();

    Parts m_parts;
    WindowState& m_state;
    BookTables& m_tables;
    MenuModel& m_menu;
    PlatformServices m_platform;
    Folders m_folders;
    FeatureFlags m_readFeatures;
    BookInfo m_readInfo;
    BookCredits m_readCredits;
};

}  // namespace korvin
