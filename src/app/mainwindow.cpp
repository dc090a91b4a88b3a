#include "app/mainwindow.h"

#include "library/settings.h"
#include "platform/controlids.h"
#include "ui/acceleratortable.h"
#include "ui/commandids.h"
#include "ui/menustates.h"

namespace korvin {

namespace {

constexpr int kHighlightTimer = 1;
constexpr int kPollTimer = 2;
constexpr int kStringStartPage = 42;

bool containsText(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

}  // namespace

MainWindow::MainWindow(PlatformServices platform, Folders folders)
    : m_platform(platform)
    , m_folders(std::move(folders))
    , m_strings(StringTable::builtIn())
    , m_menu(MenuModel::builtIn())
{
    registerHandlers();
    wireTables();
}

MainWindow::~MainWindow()
{
    m_tables.tree.setSelectionListener(nullptr);
    for (BookTable* table : {&m_tables.headings, &m_tables.phrases, &m_tables.pages, &m_tables.groups,
                             &m_tables.bookmarks, &m_tables.searchHits})
        table->setRowStateListener(nullptr);
}

void MainWindow::initialise()
{
    resetToNoBook();
    loadSettings();
}

// ---------------------------------------------------------------------------
// Routing

void MainWindow::registerHandlers()
{
    const auto nothing = [] {};
    // Commands whose behaviour lands with later work are routed to an empty
    // handler, so that filling them in changes nothing else.
    for (int id : {cmd::kOpen, cmd::kOpenFromList, cmd::kLastBook, cmd::kChangeVolume,
                   cmd::kBookTotalTime, cmd::kBookElapsedTime, cmd::kBookRemainingTime, cmd::kEntries,
                   cmd::kLevels, cmd::kTitleTotalTime, cmd::kTitleElapsedTime, cmd::kTitleRemainingTime,
                   cmd::kHeadingIndex, cmd::kHeadingLevel, cmd::kPhraseForward, cmd::kPhraseBack,
                   cmd::kPageNext, cmd::kPagePrevious, cmd::kPageGoto, cmd::kSkipFootnotes,
                   cmd::kSkipSidebars, cmd::kSkipProdnotes, cmd::kSkipPageNumbers, cmd::kSwitchToNavigation,
                   cmd::kVolumeUp, cmd::kVolumeNormal, cmd::kVolumeDown, cmd::kSpeedFaster, cmd::kSpeedNormal,
                   cmd::kSpeedSlower, cmd::kWindForward, cmd::kWindBackward, cmd::kPauseContinue,
                   cmd::kAutoPlayback, cmd::kStyleBackground, cmd::kStyleItalic, cmd::kStyleBold,
                   cmd::kStyleTextColour, cmd::kSwitchToText, cmd::kBookmarkSet, cmd::kBookmarkDelete,
                   cmd::kBookmarkNext, cmd::kBookmarkPrevious, cmd::kSearchHeadings, cmd::kSearchText,
                   cmd::kSearchBook, cmd::kSearchNext, cmd::kSearchPrevious})
        m_table.onCommand(id, nothing);

    // Next and previous group have no behaviour: groups are reached through the group list.
    m_table.onCommand(cmd::kGroupNext, nothing);
    m_table.onCommand(cmd::kGroupPrevious, nothing);

    m_table.onCommand(cmd::kGerman, [this] { setLanguage(0); });
    m_table.onCommand(cmd::kEnglish, [this] { setLanguage(200); });
    m_table.onCommand(cmd::kExit, [this] { exitProcedure(); });
    m_table.onCommand(cmd::kAbout, [this] { about(); });
    m_table.onCommand(cmd::kSystemAbout, [this] { about(); });

    const auto answer = [](int, int) { return 0; };
    m_table.onNotify(control::kHeadingTree, notify::kSelectionChanged, answer);
    m_table.onNotify(control::kHeadingTree, notify::kSetFocus, [this](int, int) {
        m_navigationViewActive = true;
        return 0;
    });
    for (int table : {control::kPhraseTable, control::kPageTable, control::kHeadingTable, control::kBookmarkTable,
                      control::kSearchHitTable, control::kGroupTable})
        m_table.onNotify(table, notify::kRowStateChanged, answer);
    for (int list : {control::kSearchResultList, control::kBookmarkList, control::kGroupList})
        m_table.onNotify(list, notify::kSelectionChanged, answer);

    m_table.onEvent(control::kTextView, event::kDocumentComplete, [this](EventArgs& args) { documentComplete(args); });
    m_table.onEvent(control::kTextView, event::kBeforeNavigate, [](EventArgs&) {});
    m_table.onEvent(control::kPlayer, event::kPlayerError, [this](EventArgs&) { playerError(); });

    m_table.onMessage(message::kTimer, [](int) {});
    m_table.onMessage(message::kClose, [this](int) { exitProcedure(); });
    m_table.onMessage(message::kHelp, [](int) {});
    m_table.onMessage(message::kMenuSelect, [](int) {});
}

void MainWindow::wireTables()
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

void MainWindow::command(int id)
{
    if (m_ended || !m_menu.canExecute(id))
        return;
    m_table.command(id);
}

int MainWindow::notify(int control, int code, int item, int state)
{
    int result = 0;
    m_table.notify(control, code, item, state, result);
    return result;
}

void MainWindow::event(int control, int eventId, EventArgs& args)
{
    m_table.event(control, eventId, args);
}

void MainWindow::timer(int id)
{
    m_table.message(message::kTimer, id);
}

void MainWindow::menuSelect(bool menuClosed)
{
    m_table.message(message::kMenuSelect, menuClosed ? static_cast<int>(0xFFFF0000u) : 0);
}

void MainWindow::helpRequest()
{
    m_table.message(message::kHelp, 0);
}

void MainWindow::close()
{
    if (!m_ended)
        m_table.message(message::kClose, 0);
}

void MainWindow::openAtStart(const std::string& book)
{
    m_startBook = book;
}

void MainWindow::redrawMenu()
{
    m_platform.menuBar.redraw();
}

// ---------------------------------------------------------------------------
// Language

void MainWindow::setLanguage(int languageOffset)
{
    m_languageOffset = languageOffset;
    loadAccelerators();
    if (!m_playback.bookOpen)
        showStartPage();
    setMenuLanguage(m_menu, m_strings, m_languageOffset);
    m_platform.window.languageChanged(m_languageOffset);
    redrawMenu();
}

void MainWindow::loadAccelerators()
{
    m_platform.window.setAccelerators(builtInAccelerators());
    m_acceleratorsLoaded = true;
}

void MainWindow::showStartPage()
{
    m_platform.textView.navigate(m_folders.data + text(kStringStartPage));
    m_playback.startPage = true;
}

void MainWindow::documentComplete(EventArgs& args)
{
    m_playback.startPage = containsText(args.url, "start_de.html") || containsText(args.url, "start_en.html");
}

void MainWindow::playerError()
{
    if (m_platform.player.errorCount() > 0)
        m_platform.player.clearErrors();
}

// ---------------------------------------------------------------------------
// No book

void MainWindow::resetToNoBook()
{
    m_platform.timers.killTimer(kHighlightTimer);
    m_platform.timers.killTimer(kPollTimer);
    m_playback.currentFragmentId.clear();
    m_lastSearchTerm.clear();
    m_currentSearchTerm.clear();

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

    m_platform.player.setUrl("");
    m_playback.lastAudioLoaded.clear();

    m_platform.bookmarkList.setEnabled(false);
    m_platform.groupList.setEnabled(false);
    m_platform.searchResultList.setEnabled(false);

    showStartPage();

    grayBookItems(m_menu);
    redrawMenu();
}

// ---------------------------------------------------------------------------
// Settings

void MainWindow::loadSettings()
{
    const SettingsFile file(m_folders.state + "/Settings.dl", m_scrambler);
    const std::optional<SettingsLines> lines = file.read();
    if (lines) {
        const auto flag = [&](int line, bool& value, int command) {
            value = lines->flag(line);
            if (value)
                m_menu.setChecked(command, true);
        };
        flag(3, m_playback.skipFootnotes, cmd::kSkipFootnotes);
        flag(4, m_playback.skipSidebars, cmd::kSkipSidebars);
        flag(5, m_playback.skipProdnotes, cmd::kSkipProdnotes);
        flag(6, m_playback.skipPageNumbers, cmd::kSkipPageNumbers);
        flag(7, m_playback.autoPlay, cmd::kAutoPlayback);

        const auto style = [&](int line, bool& value, int command) {
            value = lines->flag(line);
            if (value)
                m_menu.checkRadio(cmd::kStyleBackground, cmd::kStyleTextColour, command);
            return value;
        };
        if (style(8, m_style.background, cmd::kStyleBackground))
            m_style.colour = lines->line(9);
        style(10, m_style.italic, cmd::kStyleItalic);
        style(11, m_style.bold, cmd::kStyleBold);
        if (style(12, m_style.textColour, cmd::kStyleTextColour))
            m_style.colour = lines->line(13);

        const int language = lines->language();
        if (language == 0 || language == 200) {
            m_menu.checkRadio(cmd::kGerman, cmd::kLanguageRangeLast, language == 200 ? cmd::kEnglish : cmd::kGerman);
            m_languageOffset = language;
            showStartPage();
            setLanguage(language);
        }

        m_playback.volume = lines->volume();
        m_playback.rate = lines->rate();
    }
    // Without a settings file, or with a language line that names no language,
    // the keys must work all the same: the table is the same for both languages.
    if (!m_acceleratorsLoaded)
        loadAccelerators();

    m_platform.player.setVolume(m_playback.volume);
    m_platform.player.setRate(m_playback.rate);
    redrawMenu();
}

void MainWindow::saveSettings()
{
    Settings settings;
    settings.volume = m_playback.volume;
    settings.rate = m_playback.rate;
    settings.skipFootnotes = m_playback.skipFootnotes;
    settings.skipSidebars = m_playback.skipSidebars;
    settings.skipProdnotes = m_playback.skipProdnotes;
    settings.skipPageNumbers = m_playback.skipPageNumbers;
    settings.autoPlay = m_playback.autoPlay;
    settings.background = m_style.background;
    settings.italic = m_style.italic;
    settings.bold = m_style.bold;
    settings.textColour = m_style.textColour;
    settings.colour = m_style.colour;
    settings.languageOffset = m_languageOffset;
    SettingsFile(m_folders.state + "/Settings.dl", m_scrambler).write(settings);
}

// ---------------------------------------------------------------------------
// About and exit

void MainWindow::about()
{
    m_platform.dialogs.showAbout();
}

void MainWindow::exitProcedure()
{
    if (m_ended)
        return;
    if (m_playback.bookOpen) {
        m_playback.bookOpen = false;
        m_platform.timers.killTimer(kHighlightTimer);
        m_platform.timers.killTimer(kPollTimer);
    }
    saveSettings();
    m_ended = true;
    m_platform.window.end();
}

}  // namespace korvin
