#pragma once

#include <string>
#include <vector>

#include "app/commandtable.h"
#include "app/services.h"
#include "book/booktables.h"
#include "library/scrambler.h"
#include "playback/playbackstate.h"
#include "ui/menumodel.h"
#include "ui/stringtable.h"
#include "ui/textstyle.h"

namespace korvin {

// The main window's state and its handlers: every command, notification, event
// and message of the window arrives here and is dispatched through one table.
// Runs on the UI thread; a selection made inside a handler runs its reaction
// synchronously before the handler goes on.
class MainWindow {
public:
    MainWindow(PlatformServices platform, Folders folders);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    ~MainWindow();

    // Resets to no book and loads the settings; call once the window is shown.
    void initialise();

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
    // A book named on the command line (a book folder or its ncc.html), kept to
    // be opened once the window has started, as Open opens a book.
    void openAtStart(const std::string& book);
    const std::string& startBook() const { return m_startBook; }

    // What the views show.
    HeadingTree& tree() { return m_tables.tree; }
    const MenuModel& menu() const { return m_menu; }
    const StringTable& strings() const { return m_strings; }
    int languageOffset() const { return m_languageOffset; }
    const std::string& text(int id) const { return m_strings.get(id, m_languageOffset); }

    // State, for the tests and the views.
    BookTables& tables() { return m_tables; }
    const PlaybackState& playback() const { return m_playback; }
    const TextStyle& textStyle() const { return m_style; }
    const std::string& startDirectory() const { return m_folders.state; }
    bool hasAccelerators() const { return m_acceleratorsLoaded; }
    bool noLastBook() const { return m_noLastBook; }
    const BookInfo& bookInfo() const { return m_bookInfo; }

private:
    void registerHandlers();
    void wireTables();
    void redrawMenu();

    // Start-up and language.
    void setLanguage(int languageOffset);
    void loadAccelerators();
    void showStartPage();
    void resetToNoBook();
    void loadSettings();
    void saveSettings();

    // Handlers of this window's own commands and messages.
    void about();
    void exitProcedure();
    void documentComplete(EventArgs& args);
    void playerError();

    PlatformServices m_platform;
    Folders m_folders;
    StringTable m_strings;
    MenuModel m_menu;
    Scrambler m_scrambler;
    BookTables m_tables;
    CommandTable m_table;

    int m_languageOffset = 0;
    bool m_acceleratorsLoaded = false;
    bool m_ended = false;

    PlaybackState m_playback;
    TextStyle m_style;
    BookInfo m_bookInfo;
    FeatureFlags m_features;
    bool m_noLastBook = false;
    bool m_textSearchMode = false;
    std::string m_lastSearchTerm;
    std::string m_currentSearchTerm;
    bool m_navigationViewActive = false;
    std::string m_startBook;
};

}  // namespace korvin
