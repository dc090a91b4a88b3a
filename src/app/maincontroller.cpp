// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/maincontroller.h"

#include <cstdio>
#include <utility>

#include "library/settings.h"
#include "platform/controlids.h"
#include "ui/acceleratortable.h"
#include "ui/commandids.h"
#include "ui/menustates.h"

namespace korvin {

namespace {

// The highlight a listener sees before choosing one: the background colour the
// colour chooser offers first.
constexpr const char* kDefaultColour = "#ff8000";

std::string colourText(const Rgb& colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.red & 0xFF, colour.green & 0xFF, colour.blue & 0xFF);
    return text;
}

// The platform as it is, but for the player the parts use.
PlatformServices withPlayer(const PlatformServices& platform, COcx1& player)
{
    return PlatformServices{player,
                            platform.titleCue,
                            platform.textView,
                            platform.timers,
                            platform.groupList,
                            platform.bookmarkList,
                            platform.searchResultList,
                            platform.messageBoxes,
                            platform.dialogs,
                            platform.window,
                            platform.menuBar,
                            platform.waitWindow,
                            platform.textDocuments,
                            platform.archives};
}

}  // namespace

MainController::MainController(PlatformServices platform, Folders folders)
    : m_player(platform.player)
    , m_platform(withPlayer(platform, m_player))
    , m_folders(std::move(folders))
    , m_strings(StringTable::builtIn())
    , m_menu(MenuModel::builtIn())
    , m_highlighter(m_platform.textView)
    , m_engine(
          m_state.playback, m_state.settings, m_tables, m_menu,
          PlaybackEngine::Services{m_platform.player, m_platform.titleCue, m_platform.timers, m_platform.textView,
                                   m_platform.menuBar},
          [this](const std::string& path) { return m_session.openablePath(path); },
          [this] { highlight(); })
    , m_rewind(m_state.options, m_tables, m_engine, m_platform.player)
    , m_audio(m_state.settings, m_platform.player, m_state.playback, m_state.options)
    , m_resume(
          m_state.playback, m_tables, m_menu, m_engine,
          ResumePosition::Services{m_platform.player, m_platform.textView, m_platform.menuBar},
          ResumeFile(m_folders.state + "/AResume.dl", m_scrambler),
          [this](const std::string& path) { return m_session.openablePath(path); }, m_rewind)
    , m_bookmarks(
          m_state.playback, m_tables, m_menu, m_engine,
          Bookmarks::Services{m_platform.player, m_platform.bookmarkList, m_platform.window, m_platform.menuBar},
          BookmarkFile(m_folders.state + "/MResume.dl", m_scrambler))
    , m_places(m_state.bookInfo, m_resume, m_bookmarks)
    , m_session(BookSession::Parts{m_state, m_tables, m_menu, m_strings, m_scrambler, m_engine, m_places}, m_platform,
                m_folders)
    , m_headingSelection(HeadingSelection::Parts{m_state, m_tables, m_menu, m_engine},
                         HeadingSelection::Services{m_platform.menuBar, m_platform.searchResultList})
    , m_listOpening(ListOpening::Parts{m_state, m_session, m_strings, m_scrambler}, m_platform, m_folders)
    , m_volumeChange(VolumeChange::Parts{m_state, m_tables, m_session, m_engine, m_strings}, m_platform)
    , m_search(
          Search::State{m_state.playback, m_state.searchTerm, m_state.textSearchMode, m_state.settings.languageOffset},
          Search::Parts{m_tables, m_menu, m_strings, m_engine},
          Search::Services{m_platform.player, m_platform.menuBar, m_platform.searchResultList, m_platform.messageBoxes,
                           m_platform.dialogs, m_platform.waitWindow, m_platform.window, m_platform.textView,
                           m_platform.textDocuments},
          [this](const std::string& path) { return m_session.openablePath(path); },
          [this](const std::string& term) {
              // The search marks what it found even after an earlier
              // search in the text, which only keeps the highlight tick
              // from marking it again.
              TextHighlighter::Context context = highlightContext();
              context.textSearchMode = false;
              m_highlighter.markSearchTerm(term, context);
          })
    , m_pages(Pages::Parts{m_tables, m_menu, m_strings, m_state.playback, m_state.settings.languageOffset},
              Pages::Services{m_platform.player, m_platform.menuBar, m_platform.dialogs, m_platform.messageBoxes})
    , m_skips(m_state.settings, m_menu, m_platform.menuBar)
    , m_information(Information::Parts{m_tables, m_state.bookInfo, m_strings, m_state.settings.languageOffset,
                                       [this] { return m_sleepTimer.left(); }},
                    Information::Services{m_platform.player, m_platform.messageBoxes, m_platform.menuBar})
    , m_views(Views::State{m_state.playback, m_state.navigationViewActive}, Views::Parts{m_tables, m_menu, m_engine},
              Views::Services{m_platform.window, m_platform.groupList, m_platform.menuBar})
    , m_levels(HeadingLevels::Parts{m_tables, m_engine, m_strings, m_state.settings.languageOffset},
               HeadingLevels::Services{m_platform.player, m_platform.messageBoxes, m_platform.menuBar})
    , m_timeSkips(m_state.playback, m_tables, m_engine, m_platform.player)
    , m_sleepTimer(SleepTimer::Parts{m_state.playback, m_state.settings, m_menu, m_tables, m_engine},
                   SleepTimer::Services{m_platform.player, m_platform.timers, m_platform.menuBar},
                   [this] { saveAsAtExit(); })
    , m_optionChoices(OptionChoices::Parts{m_state.options, m_menu, m_audio}, m_platform.menuBar,
                      m_folders.state + "/Optionen.dl", m_scrambler)
    , m_remote(ControllerRemote::Parts{m_state, m_tables, m_audio, m_player, [this](int id) { command(id); }})
{
    m_state.settings.style.background = true;
    m_state.settings.style.colour = kDefaultColour;
    m_menu.checkRadio(cmd::kStyleBackground, cmd::kStyleTextColour, cmd::kStyleBackground);
    registerHandlers();
    wireTables();
    m_platform.textView.setListener(&m_textViewEvents);
    m_platform.player.setErrorHandler([this] {
        EventArgs args;
        event(control::kPlayer, event::kPlayerError, args);
    });
}

MainController::~MainController()
{
    m_platform.textView.setListener(nullptr);
    m_platform.player.setErrorHandler(nullptr);
    m_tables.tree.setSelectionListener(nullptr);
    for (BookTable* table : {&m_tables.headings, &m_tables.phrases, &m_tables.pages, &m_tables.groups,
                             &m_tables.bookmarks, &m_tables.searchHits})
        table->setRowStateListener(nullptr);
}

void MainController::initialise()
{
    const ControllerRemote::Activity activity(m_remote);
    m_session.resetToNoBook();
    loadSettings();
}

void MainController::holdStartPage()
{
    m_session.holdStartPage();
}

void MainController::showHeldStartPage()
{
    const ControllerRemote::Activity activity(m_remote);
    if (!m_ended)
        m_session.releaseStartPage();
}

void MainController::openAtStart(const std::string& path)
{
    const ControllerRemote::Activity activity(m_remote);
    if (!m_ended)
        m_session.openPath(path);
}

// ---------------------------------------------------------------------------
// Routing

void MainController::registerHandlers()
{
    m_table.onCommand(cmd::kOpen, [this] { m_session.open(); });
    m_table.onCommand(cmd::kOpenFromList, [this] { m_listOpening.openFromList(); });
    m_table.onCommand(cmd::kChangeVolume, [this] { m_volumeChange.changeVolume(); });
    m_table.onCommand(cmd::kSearchHeadings, [this] { m_search.searchHeadings(); });
    m_table.onCommand(cmd::kSearchText, [this] { m_search.searchText(); });
    m_table.onCommand(cmd::kSearchBook, [this] { m_search.searchBook(); });
    m_table.onCommand(cmd::kSearchNext, [this] { m_search.nextHit(); });
    m_table.onCommand(cmd::kSearchPrevious, [this] { m_search.previousHit(); });
    m_table.onCommand(cmd::kLastBook, [this] { m_session.last(); });
    m_table.onCommand(cmd::kGerman, [this] { setLanguage(0); });
    m_table.onCommand(cmd::kEnglish, [this] { setLanguage(200); });
    m_table.onCommand(cmd::kExit, [this] { exitProcedure(); });
    m_table.onCommand(cmd::kAbout, [this] { about(); });
    m_table.onCommand(cmd::kSystemAbout, [this] { about(); });
    for (int style : {cmd::kStyleBackground, cmd::kStyleItalic, cmd::kStyleBold, cmd::kStyleTextColour})
        m_table.onCommand(style, [this, style] { chooseStyle(style); });

    m_table.onNotify(control::kHeadingTree, notify::kSelectionChanged,
                     [this](int item, int) { return m_headingSelection.headingSelected(item); });
    m_table.onNotify(control::kHeadingTable, notify::kRowStateChanged, [this](int row, int state) {
        if (state == BookTable::kSelected && m_state.playback.bookOpen)
            m_tables.headings.setSelectionMark(row);
        return 0;
    });
    m_table.onNotify(control::kSearchHitTable, notify::kRowStateChanged, [this](int, int state) {
        if (state == BookTable::kSelected)
            m_search.hitSelected();
        return 0;
    });
    m_table.onNotify(control::kSearchResultList, notify::kSelectionChanged, [this](int, int) {
        m_search.lineChosen();
        return 0;
    });

    m_table.onEvent(control::kTextView, event::kBeforeNavigate,
                    [this](EventArgs& args) { m_headingSelection.beforeNavigate(args.url, args.cancel); });
    m_table.onEvent(control::kTextView, event::kDocumentComplete, [this](EventArgs& args) {
        m_engine.documentComplete(args.url);
        m_highlighter.documentLoaded();
    });
    m_table.onEvent(control::kPlayer, event::kPlayerError, [this](EventArgs&) { playerError(); });

    m_table.onMessage(message::kClose, [this](const MessageArgs&) { exitProcedure(); });
    m_table.onMessage(message::kHelp, [this](const MessageArgs&) { m_session.help(); });

    registerPlaybackHandlers();
    registerPlaceHandlers();
    registerNavigationHandlers();
    registerAdditionalHandlers();
}

// The commands beyond the first program's: heading levels, where am I, the
// skips by time, the sleep timer and the options.
void MainController::registerAdditionalHandlers()
{
    const int nexts[] = {cmd::kLevelNext1, cmd::kLevelNext2, cmd::kLevelNext3,
                         cmd::kLevelNext4, cmd::kLevelNext5, cmd::kLevelNext6};
    const int previouses[] = {cmd::kLevelPrevious1, cmd::kLevelPrevious2, cmd::kLevelPrevious3,
                              cmd::kLevelPrevious4, cmd::kLevelPrevious5, cmd::kLevelPrevious6};
    for (int level = 1; level <= 6; ++level) {
        m_table.onCommand(nexts[level - 1], [this, level] { m_levels.next(level); });
        m_table.onCommand(previouses[level - 1], [this, level] { m_levels.previous(level); });
    }
    m_table.onCommand(cmd::kWhereAmI, [this] { m_information.whereAmI(); });

    for (const auto& [command, seconds] :
         {std::pair{cmd::kSkipForward10, TimeSkips::kShort}, std::pair{cmd::kSkipBack10, -TimeSkips::kShort},
          std::pair{cmd::kSkipForward60, TimeSkips::kLong}, std::pair{cmd::kSkipBack60, -TimeSkips::kLong}})
        m_table.onCommand(command, [this, seconds] { m_timeSkips.skip(seconds); });

    for (int choice : {cmd::kSleepTimer15, cmd::kSleepTimer30, cmd::kSleepTimer45, cmd::kSleepTimer60,
                       cmd::kSleepTimerEndOfHeading, cmd::kSleepTimerOff})
        m_table.onCommand(choice, [this, choice] { m_sleepTimer.choose(choice); });
    m_engine.setHeadingEndListener([this] { m_sleepTimer.headingEnded(); });
    m_engine.setContinueListener([this] { m_rewind.continuing(); });

    for (int option : {cmd::kRewindOnResume, cmd::kUpToTriple})
        m_table.onCommand(option, [this, option] { m_optionChoices.toggle(option); });
}

void MainController::registerNavigationHandlers()
{
    m_table.onCommand(cmd::kPageNext, [this] { m_pages.next(); });
    m_table.onCommand(cmd::kPagePrevious, [this] { m_pages.previous(); });
    m_table.onCommand(cmd::kPageGoto, [this] { m_pages.goTo(); });
    for (int skip : {cmd::kSkipFootnotes, cmd::kSkipSidebars, cmd::kSkipProdnotes, cmd::kSkipPageNumbers})
        m_table.onCommand(skip, [this, skip] { m_skips.toggle(skip); });

    Information& info = m_information;
    for (const auto& [id, answer] :
         {std::pair{cmd::kBookTotalTime, &Information::bookTotalTime},
          std::pair{cmd::kBookElapsedTime, &Information::bookElapsedTime},
          std::pair{cmd::kBookRemainingTime, &Information::bookRemainingTime},
          std::pair{cmd::kEntries, &Information::entries}, std::pair{cmd::kLevels, &Information::levels},
          std::pair{cmd::kTitleTotalTime, &Information::titleTotalTime},
          std::pair{cmd::kTitleElapsedTime, &Information::titleElapsedTime},
          std::pair{cmd::kTitleRemainingTime, &Information::titleRemainingTime},
          std::pair{cmd::kHeadingIndex, &Information::headingIndex},
          std::pair{cmd::kHeadingLevel, &Information::headingLevel}})
        m_table.onCommand(id, [&info, answer] { (info.*answer)(); });

    m_table.onCommand(cmd::kSwitchToNavigation, [this] { m_views.switchToNavigation(); });
    m_table.onCommand(cmd::kSwitchToText, [this] { m_views.switchToText(); });
    m_table.onCommand(cmd::kGroupNext, [this] { m_views.nextGroup(); });
    m_table.onCommand(cmd::kGroupPrevious, [this] { m_views.previousGroup(); });
    m_table.onNotify(control::kHeadingTree, notify::kSetFocus, [this](int, int) {
        m_views.navigationFocused();
        return 0;
    });
    m_table.onNotify(control::kGroupList, notify::kSelectionChanged, [this](int, int) {
        m_views.groupChosen();
        return 0;
    });
    m_table.onNotify(control::kGroupTable, notify::kRowStateChanged, [this](int, int state) {
        if (state == BookTable::kSelected)
            m_views.groupJump();
        return 0;
    });
}

void MainController::registerPlaceHandlers()
{
    m_table.onCommand(cmd::kVolumeUp, [this] { m_audio.volumeUp(); });
    m_table.onCommand(cmd::kVolumeNormal, [this] { m_audio.volumeNormal(); });
    m_table.onCommand(cmd::kVolumeDown, [this] { m_audio.volumeDown(); });
    m_table.onCommand(cmd::kSpeedFaster, [this] { m_audio.speedFaster(); });
    m_table.onCommand(cmd::kSpeedNormal, [this] { m_audio.speedNormal(); });
    m_table.onCommand(cmd::kSpeedSlower, [this] { m_audio.speedSlower(); });
    m_table.onCommand(cmd::kWindForward, [this] { m_audio.windForward(); });
    m_table.onCommand(cmd::kWindBackward, [this] { m_audio.windBackward(); });

    m_table.onCommand(cmd::kBookmarkSet, [this] { m_bookmarks.set(); });
    m_table.onCommand(cmd::kBookmarkDelete, [this] { m_bookmarks.remove(); });
    m_table.onCommand(cmd::kBookmarkNext, [this] { m_bookmarks.next(); });
    m_table.onCommand(cmd::kBookmarkPrevious, [this] { m_bookmarks.previous(); });
    m_table.onNotify(control::kBookmarkList, notify::kSelectionChanged, [this](int, int) {
        m_bookmarks.listSelectionChanged();
        return 0;
    });
    m_table.onNotify(control::kBookmarkTable, notify::kRowStateChanged, [this](int row, int state) {
        if (state == BookTable::kSelected)
            m_bookmarks.jump(row);
        return 0;
    });
}

void MainController::registerPlaybackHandlers()
{
    m_table.onCommand(cmd::kPhraseForward, [this] { m_engine.phraseForward(); });
    m_table.onCommand(cmd::kPhraseBack, [this] { m_engine.phraseBack(); });
    m_table.onCommand(cmd::kPauseContinue, [this] { m_engine.pauseContinue(); });
    m_table.onCommand(cmd::kAutoPlayback, [this] { m_engine.toggleAutoPlayback(); });

    m_table.onNotify(control::kPhraseTable, notify::kRowStateChanged, [this](int, int state) {
        if (state == BookTable::kSelected)
            m_engine.phraseStart();
        return 0;
    });
    m_table.onNotify(control::kPageTable, notify::kRowStateChanged, [this](int, int state) {
        if (state == BookTable::kSelected)
            m_engine.pageJump();
        return 0;
    });

    m_table.onMessage(message::kTimer, [this](const MessageArgs& args) {
        if (args.timerId == PlaybackEngine::kHighlightTimer)
            m_engine.highlightTick();
        else if (args.timerId == PlaybackEngine::kPollTimer)
            m_engine.pollTick();
        else if (args.timerId == SleepTimer::kTimer)
            m_sleepTimer.tick();
    });
    m_table.onMessage(message::kMenuSelect, [this](const MessageArgs& args) { m_engine.menuPause(args.menuClosed); });
}

void MainController::wireTables()
{
    const auto route = [this](BookTable& table, int control) {
        table.setRowStateListener(
            [this, control](int row, int state) { notify(control, notify::kRowStateChanged, row, state); });
    };
    route(m_tables.headings, control::kHeadingTable);
    route(m_tables.phrases, control::kPhraseTable);
    route(m_tables.pages, control::kPageTable);
    route(m_tables.groups, control::kGroupTable);
    route(m_tables.bookmarks, control::kBookmarkTable);
    route(m_tables.searchHits, control::kSearchHitTable);
    m_tables.tree.setSelectionListener(
        [this](HeadingTree::Item item) { notify(control::kHeadingTree, notify::kSelectionChanged, item); });
}

void MainController::TextViewEvents::beforeNavigate(const std::string& url, bool& cancel)
{
    EventArgs args{url, cancel};
    m_controller.event(control::kTextView, event::kBeforeNavigate, args);
    cancel = args.cancel;
}

void MainController::TextViewEvents::documentComplete(const std::string& url)
{
    EventArgs args{url, false};
    m_controller.event(control::kTextView, event::kDocumentComplete, args);
}

void MainController::command(int id)
{
    const ControllerRemote::Activity activity(m_remote);
    if (m_ended || !m_menu.canExecute(id))
        return;
    m_table.command(id);
}

int MainController::notify(int control, int code, int item, int state)
{
    const ControllerRemote::Activity activity(m_remote);
    int result = 0;
    m_table.notify(control, code, item, state, result);
    return result;
}

void MainController::event(int control, int eventId, EventArgs& args)
{
    const ControllerRemote::Activity activity(m_remote);
    m_table.event(control, eventId, args);
}

void MainController::timer(int id)
{
    const ControllerRemote::Activity activity(m_remote);
    m_table.message(message::kTimer, {.timerId = id});
}

void MainController::menuSelect(bool menuClosed)
{
    const ControllerRemote::Activity activity(m_remote);
    m_table.message(message::kMenuSelect, {.menuClosed = menuClosed});
}

void MainController::helpRequest()
{
    const ControllerRemote::Activity activity(m_remote);
    if (!m_ended)
        m_table.message(message::kHelp);
}

void MainController::close()
{
    const ControllerRemote::Activity activity(m_remote);
    if (!m_ended)
        m_table.message(message::kClose);
}

void MainController::redrawMenu()
{
    m_platform.menuBar.redraw();
}

// ---------------------------------------------------------------------------
// Language

void MainController::setLanguage(int languageOffset)
{
    m_state.settings.languageOffset = languageOffset;
    loadAccelerators();
    if (!m_state.playback.bookOpen)
        m_session.showStartPage();
    setMenuLanguage(m_menu, m_strings, languageOffset);
    m_platform.window.languageChanged(languageOffset);
    redrawMenu();
}

void MainController::loadAccelerators()
{
    m_platform.window.setAccelerators(builtInAccelerators());
    m_acceleratorsLoaded = true;
}

void MainController::playerError()
{
    if (m_platform.player.errorCount() > 0)
        m_platform.player.clearErrors();
}

TextHighlighter::Context MainController::highlightContext() const
{
    TextHighlighter::Context context;
    context.startPage = m_state.playback.startPage;
    context.bookOpen = m_state.playback.bookOpen;
    context.textSearchMode = m_state.textSearchMode;
    context.bookFolder = m_state.playback.bookFolder;
    context.bookInfo = m_state.bookInfo;
    context.style = m_state.settings.style;
    return context;
}

void MainController::highlight()
{
    const TextHighlighter::Context context = highlightContext();
    m_highlighter.markSearchTerm(m_state.searchTerm, context);
    m_highlighter.highlightFragment(m_state.playback.currentFragmentId, context);
}

void MainController::chooseStyle(int command)
{
    TextStyle& style = m_state.settings.style;
    if (command == cmd::kStyleBackground || command == cmd::kStyleTextColour) {
        // Not PauseBracket: the colour chooser pauses only a player that is
        // playing, and one that is still loading or stopped is left alone.
        MediaPlayer& player = m_platform.player;
        if (player.playState() == MediaPlayer::kPlaying)
            player.pause();
        const Rgb initial = command == cmd::kStyleBackground ? Rgb{255, 128, 0} : Rgb{255, 255, 255};
        const auto chosen = m_platform.dialogs.chooseColour(initial);
        if (player.playState() == MediaPlayer::kPaused)
            player.play();
        if (!chosen) {
            redrawMenu();
            return;
        }
        style.colour = colourText(*chosen);
    }
    style.background = command == cmd::kStyleBackground;
    style.textColour = command == cmd::kStyleTextColour;
    style.bold = command == cmd::kStyleBold;
    style.italic = command == cmd::kStyleItalic;
    m_menu.checkRadio(cmd::kStyleBackground, cmd::kStyleTextColour, command);
    redrawMenu();
}

// ---------------------------------------------------------------------------
// Settings

void MainController::loadSettings()
{
    if (std::optional<Settings> loaded = SettingsFile(settingsPath(), m_scrambler).read()) {
        Settings& settings = m_state.settings;
        // A colour counts only with its style's flag: without one, the colour
        // chosen so far stays. The language is taken below, when it names one.
        if (!loaded->style.background && !loaded->style.textColour)
            loaded->style.colour = settings.style.colour;
        const int language = loaded->languageOffset;
        loaded->languageOffset = settings.languageOffset;
        settings = *loaded;

        // A flag that is set checks its item; one that is not leaves the item as it is.
        for (const auto& [set, command] : {std::pair{settings.skipFootnotes, cmd::kSkipFootnotes},
                                           std::pair{settings.skipSidebars, cmd::kSkipSidebars},
                                           std::pair{settings.skipProdnotes, cmd::kSkipProdnotes},
                                           std::pair{settings.skipPageNumbers, cmd::kSkipPageNumbers},
                                           std::pair{settings.autoPlay, cmd::kAutoPlayback}})
            if (set)
                m_menu.setChecked(command, true);
        const TextStyle& style = settings.style;
        for (const auto& [set, command] :
             {std::pair{style.background, cmd::kStyleBackground}, std::pair{style.italic, cmd::kStyleItalic},
              std::pair{style.bold, cmd::kStyleBold}, std::pair{style.textColour, cmd::kStyleTextColour}})
            if (set)
                m_menu.checkRadio(cmd::kStyleBackground, cmd::kStyleTextColour, command);

        if (language == 0 || language == 200) {
            m_menu.checkRadio(cmd::kGerman, cmd::kEnglish, language == 200 ? cmd::kEnglish : cmd::kGerman);
            settings.languageOffset = language;
            m_session.showStartPage();
            setLanguage(language);
        }
    }
    // Without a settings file, or with a language line that names no language,
    // the keys must work all the same: the table is the same in both languages.
    if (!m_acceleratorsLoaded)
        loadAccelerators();
    m_optionChoices.load();
    m_platform.player.setVolume(m_state.settings.volume);
    m_platform.player.setRate(m_state.settings.rate);
    redrawMenu();
}

void MainController::saveSettings()
{
    SettingsFile(settingsPath(), m_scrambler).write(m_state.settings);
    m_optionChoices.save();
}

void MainController::saveAsAtExit()
{
    m_session.savePlaces();
    saveSettings();
}

std::string MainController::settingsPath() const
{
    return m_folders.state + "/Settings.dl";
}

// ---------------------------------------------------------------------------
// About and exit

void MainController::about()
{
    m_platform.dialogs.showAbout();
}

void MainController::exitProcedure()
{
    // Once only, even when something the saving waits on lets a second
    // request in before it has finished.
    if (m_ended || m_exiting)
        return;
    m_exiting = true;
    // The window ends: nothing to show without the book. The manual is not
    // recorded, so that the next start's Last returns to the listener's book.
    m_session.leave({.lastBook = BookSession::Leaving::LastBook::kUnlessManual,
                     .resetToNoBook = false,
                     .keepTextSearchMode = true});
    saveSettings();
    m_ended = true;
    m_platform.window.end();
}

}  // namespace korvin
