// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "app/booksession.h"
#include "app/commandtable.h"
#include "app/controllerremote.h"
#include "app/headingselection.h"
#include "app/listopening.h"
#include "app/optionchoices.h"
#include "app/services.h"
#include "app/volumechange.h"
#include "app/watchedplayer.h"
#include "app/windowstate.h"
#include "book/booktables.h"
#include "library/scrambler.h"
#include "navigation/headinglevels.h"
#include "navigation/information.h"
#include "navigation/pages.h"
#include "navigation/search.h"
#include "navigation/skips.h"
#include "navigation/views.h"
#include "playback/audiocontrols.h"
#include "playback/bookmarks.h"
#include "playback/bookplaces.h"
#include "playback/playbackengine.h"
#include "playback/resumeposition.h"
#include "playback/resumerewind.h"
#include "playback/sleeptimer.h"
#include "playback/timeskips.h"
#include "ui/menumodel.h"
#include "ui/stringtable.h"
#include "ui/texthighlighter.h"

namespace korvin {

// The main window's controller: the state the window holds and its handlers.
// Every command, notification, event and message of the window arrives here and
// is dispatched through one table; the Qt window (DesktopWindow) only shows and
// forwards.
// Runs on the UI thread; a selection made inside a handler runs its reaction
// synchronously before the handler goes on.
class MainController {
public:
    MainController(PlatformServices platform, Folders folders);
    MainController(const MainController&) = delete;
    MainController& operator=(const MainController&) = delete;
    ~MainController();

    // Resets to no book and loads the settings; call once the window is shown.
    void initialise();
    // The start page initialise() and anything before showHeldStartPage()
    // would show waits for that call (see BookSession::holdStartPage).
    void holdStartPage();
    void showHeldStartPage();
    // Opens a book folder or its ncc.html as Open does: the command line's
    // book, or one a later start hands over (the open book is closed first,
    // its place saved; a path that is not a book gets Open's message).
    void openAtStart(const std::string& path);

    // Entry points for the window. A command whose menu item is grayed or
    // disabled is not carried out.
    void command(int id);
    int notify(int control, int code, int item = -1, int state = 0);
    void event(int control, int eventId, EventArgs& args);
    void timer(int id);
    void menuSelect(bool menuClosed);
    void helpRequest();
    // Closing the window by any means: runs the exit procedure, which ends it.
    void close();

    // The player as the desktop's sound menu, a headset and the media keys
    // drive it.
    RemoteControl& remote() { return m_remote; }

    // What the views show.
    HeadingTree& tree() { return m_tables.tree; }
    const MenuModel& menu() const { return m_menu; }
    const StringTable& strings() const { return m_strings; }
    int languageOffset() const { return m_state.settings.languageOffset; }
    const std::string& text(int id) const { return m_strings.get(id, m_state.settings.languageOffset); }

    // State, for the tests and the views.
    BookTables& tables() { return m_tables; }
    const WindowState& state() const { return m_state; }
    const PlaybackState& playback() const { return m_state.playback; }
    const Settings& settings() const { return m_state.settings; }
    const TextStyle& textStyle() const { return m_state.settings.style; }
    const std::string& startDirectory() const { return m_folders.state; }
    bool hasAccelerators() const { return m_acceleratorsLoaded; }
    // Whether command `id` has a handler in the routing table.
    bool handles(int id) const { return m_table.hasCommand(id); }

private:
    // Hands the text view's events to the routing table.
    class TextViewEvents final : public HtmlView::Listener {
    public:
        explicit TextViewEvents(MainController& controller)
            : m_controller(controller)
        {
        }
        void beforeNavigate(const std::string& url, bool& cancel) override;
        void documentComplete(const std::string& url) override;

    private:
        MainController& m_controller;
    };

    void registerHandlers();
    void registerPlaybackHandlers();
    void registerPlaceHandlers();
    void registerNavigationHandlers();
    void registerAdditionalHandlers();
    void wireTables();
    void redrawMenu();

    // Start-up and language.
    void setLanguage(int languageOffset);
    void loadAccelerators();
    void loadSettings();
    void saveSettings();
    // What the exit procedure saves, the book staying open (the sleep timer).
    void saveAsAtExit();
    std::string settingsPath() const;

    // Handlers of this window's own commands, events and messages.
    void about();
    void exitProcedure();
    void playerError();
    void highlight();
    TextHighlighter::Context highlightContext() const;
    void chooseStyle(int command);

    // Every part plays through it, so that a remote control hears of jumps.
    WatchedPlayer m_player;
    PlatformServices m_platform;
    Folders m_folders;
    StringTable m_strings;
    MenuModel m_menu;
    Scrambler m_scrambler;
    BookTables m_tables;
    CommandTable m_table;
    WindowState m_state;
    TextHighlighter m_highlighter;
    PlaybackEngine m_engine;
    ResumeRewind m_rewind;
    AudioControls m_audio;
    ResumePosition m_resume;
    Bookmarks m_bookmarks;
    BookPlaces m_places;
    BookSession m_session;
    HeadingSelection m_headingSelection;
    ListOpening m_listOpening;
    VolumeChange m_volumeChange;
    Search m_search;
    Pages m_pages;
    Skips m_skips;
    Information m_information;
    Views m_views;
    HeadingLevels m_levels;
    TimeSkips m_timeSkips;
    SleepTimer m_sleepTimer;
    OptionChoices m_optionChoices;
    TextViewEvents m_textViewEvents{*this};
    ControllerRemote m_remote;

    bool m_acceleratorsLoaded = false;
    bool m_ended = false;
    bool m_exiting = false;
};

}  // namespace korvin
