#include "playback/playbackengine.h"

#include "book/textnumbers.h"
#include "ui/commandids.h"
#include "ui/menupaths.h"

namespace korvin {

namespace {

bool contains(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

}  // namespace

PlaybackEngine::PlaybackEngine(PlaybackState& state, Settings& settings, BookTables& tables, MenuModel& menu,
                               Services services, std::function<std::string(const std::string&)> resolvePath,
                               std::function<void()> highlight)
    : m_state(state)
    , m_settings(settings)
    , m_tables(tables)
    , m_menu(menu)
    , m_services(services)
    , m_resolvePath(std::move(resolvePath))
    , m_highlight(std::move(highlight))
{
}

std::string PlaybackEngine::bookPath(const std::string& name) const
{
    const std::string path = m_state.bookFolder + name;
    return m_resolvePath ? m_resolvePath(path) : path;
}

// ---------------------------------------------------------------------------
// Phrase start

// A phrase start that steps forward (a skipped phrase, a phrase without sound)
// selects the next row as its very last act, which asks for another phrase
// start. Running that one after the current has returned, instead of inside it,
// does the same work in the same order without growing the stack by one level
// per passed-over phrase: a long run of them cannot exhaust it.
void PlaybackEngine::phraseStart()
{
    if (m_starting) {
        m_restart = true;
        return;
    }
    m_starting = true;
    do {
        m_restart = false;
        startCurrentPhrase();
    } while (m_restart);
    m_starting = false;
}

void PlaybackEngine::startCurrentPhrase()
{
    if (!m_state.bookOpen)
        return;
    BookTable& phrases = m_tables.phrases;
    const int row = phrases.selectionMark();
    const std::string treeId = phrases.text(row, col::phrase::kTreeId);
    const std::string parId = phrases.text(row, col::phrase::kParId);
    const std::string document = phrases.text(row, col::phrase::kDokument);
    const std::string textId = phrases.text(row, col::phrase::kTextId);
    const std::string audio = phrases.text(row, col::phrase::kAudio);
    const std::string phraseBegin = phrases.text(row, col::phrase::kPhrBeg);
    const std::string phraseEnd = phrases.text(row, col::phrase::kPhrEnd);
    const std::string skipClass = phrases.text(row, col::phrase::kSkip);
    m_state.currentFragmentId = phrases.text(row, col::phrase::kDokFragment);
    const double begin = toReal(phraseBegin);
    const HeadingTree::Item selected = m_tables.tree.selectedItem();

    followPages(textId, parId);

    if (skipped(skipClass)) {
        stepForward();
        return;
    }
    markBookChange(skipClass);

    // A phrase of a heading other than the one selected gets no sound and no highlight.
    if (toInteger(treeId) != m_tables.tree.itemData(selected))
        return;

    if (document != m_state.lastDocumentShown) {
        m_state.startPage = false;
        m_services.textView.navigate(m_resolvePath ? m_resolvePath(document) : document);
        m_state.lastDocumentShown = document;
    }
    m_services.timers.setTimer(kHighlightTimer, kHighlightDelay);

    if (audio.empty()) {
        if (!phrases.text(row + 1, col::phrase::kAudio).empty() || m_settings.autoPlay)
            stepForward();
        return;
    }

    MediaPlayer& player = m_services.player;
    m_services.timers.killTimer(kPollTimer);
    m_state.currentPhraseEnd = toReal(phraseEnd);

    if (audio != m_state.lastAudioLoaded) {
        player.setUrl(bookPath(audio));
        m_state.lastAudioLoaded = audio;
        if (begin != 0) {
            player.setRate(m_settings.rate);
            player.setVolume(m_settings.volume);
            player.setPosition(begin);
            player.play();
        }
    }
    // Texts, not numbers: a phrase whose begin is written as the previous end
    // follows on, and the player streams on without a seek.
    if (m_state.previousPhraseEnd != phraseBegin || m_state.forceSeek) {
        m_state.forceSeek = false;
        player.setPosition(begin);
        player.setRate(m_settings.rate);
        player.setVolume(m_settings.volume);
    }
    m_state.previousPhraseEnd = phraseEnd;
    if (begin == 0)
        player.play();
    m_services.timers.setTimer(kPollTimer, kPollPeriod);
}

void PlaybackEngine::followPages(const std::string& textId, const std::string& parId)
{
    BookTable& pages = m_tables.pages;
    if (pages.rowCount() == 0)
        return;
    for (int k = 0; k < pages.rowCount(); ++k) {
        const std::string& fragment = pages.text(k, col::page::kFragment);
        if (fragment != textId && fragment != parId)
            continue;
        if (k == 0) {
            m_menu.setGrayed(cmd::kPageNext, false);
            m_menu.setGrayed(cmd::kPagePrevious, true);
        } else {
            m_menu.setGrayed(cmd::kPageNext, k == pages.rowCount() - 1);
            m_menu.setGrayed(cmd::kPagePrevious, false);
        }
        pages.setSelectionMark(k);
        pages.setRowState(k, BookTable::kSelectedFocused);
        pages.scrollIntoView(k);
        break;
    }
    m_services.menuBar.redraw();
}

bool PlaybackEngine::skipped(const std::string& skipClass) const
{
    return (contains(skipClass, "sidebar") && m_settings.skipSidebars) ||
           (contains(skipClass, "prodnote") && m_settings.skipProdnotes) ||
           (contains(skipClass, "footnote") && m_settings.skipFootnotes) ||
           (contains(skipClass, "pagenumber") && m_settings.skipPageNumbers);
}

void PlaybackEngine::markBookChange(const std::string& skipClass)
{
    if (contains(skipClass, "change")) {
        // The end of this volume: playing on into the next one needs the listener.
        if (m_menu.isChecked(cmd::kAutoPlayback))
            m_settings.autoPlay = false;
        m_menu.setEnabledAt(menupath::kChangeVolume, true);
    } else {
        m_menu.setEnabledAt(menupath::kChangeVolume, false);
    }
    m_services.menuBar.redraw();
}

// ---------------------------------------------------------------------------
// Moving between phrases

void PlaybackEngine::step(int direction)
{
    BookTable& phrases = m_tables.phrases;
    const int row = phrases.selectionMark();
    const int neighbour = row + direction;
    if (phrases.text(neighbour, col::phrase::kTreeId) != phrases.text(row, col::phrase::kTreeId))
        return;
    // Two missing rows both read as empty text, but there is nothing to play there.
    if (neighbour < 0 || neighbour >= phrases.rowCount())
        return;
    phrases.setSelectionMark(neighbour);
    phrases.setRowState(neighbour, BookTable::kSelected);
    phrases.scrollIntoView(neighbour);
}

void PlaybackEngine::stepForward()
{
    step(+1);
}

void PlaybackEngine::stepBack()
{
    step(-1);
}

void PlaybackEngine::phraseForward()
{
    m_state.forceSeek = true;
    stepForward();
}

void PlaybackEngine::phraseBack()
{
    m_state.forceSeek = true;
    stepBack();
}

// ---------------------------------------------------------------------------
// Poll

void PlaybackEngine::pollTick()
{
    MediaPlayer& player = m_services.player;
    if (player.openState() != MediaPlayer::kOpenStateMediaOpen)
        return;
    if (player.playState() == MediaPlayer::kPlaying) {
        const double position = player.position();
        m_settings.volume = player.volume();
        if (position >= m_state.currentPhraseEnd)
            stepForward();
        return;
    }
    if (player.playState() == MediaPlayer::kStopped && m_settings.autoPlay) {
        nextHeading();
        return;
    }
    if (player.playState() == MediaPlayer::kStopped && !m_settings.autoPlay)
        backToHeadingStart();
}

void PlaybackEngine::nextHeading()
{
    HeadingTree& tree = m_tables.tree;
    const HeadingTree::Item current = tree.selectedItem();
    HeadingTree::Item next = tree.firstChild(current);
    if (next == HeadingTree::kNone) {
        if (tree.itemData(current) == tree.count() - 1)
            next = tree.firstItem();
        else
            next = tree.nextVisible(current);
    }
    // Past the last item in tree order the book starts again, as after the last heading.
    if (next == HeadingTree::kNone)
        next = tree.firstItem();
    tree.select(next);
}

void PlaybackEngine::backToHeadingStart()
{
    m_services.timers.killTimer(kPollTimer);
    BookTable& phrases = m_tables.phrases;
    const std::string treeId = phrases.text(phrases.selectionMark(), col::phrase::kTreeId);
    selectHeadingByIndex(toInteger(treeId));
    int row = phrases.selectionMark();
    // Stop at the top of the table: rows before it read as empty text too.
    while (row >= 0 && phrases.text(row, col::phrase::kTreeId) == treeId)
        --row;
    ++row;
    phrases.setSelectionMark(row);
    phrases.scrollIntoView(row);
    // In a heading of one phrase that row is still selected: selecting it again
    // would start nothing, and the player would stay at the end of its file,
    // where Space plays nothing. Cleared first, the phrase start runs and puts
    // the player back at the phrase.
    phrases.setRowState(row, BookTable::kNone);
    phrases.setRowState(row, BookTable::kSelected);
    m_services.player.pause();
}

void PlaybackEngine::highlightTick()
{
    m_services.timers.killTimer(kHighlightTimer);
    if (m_highlight)
        m_highlight();
}

// ---------------------------------------------------------------------------
// Commands

void PlaybackEngine::pauseContinue()
{
    MediaPlayer& player = m_services.player;
    switch (player.playState()) {
    case MediaPlayer::kPlaying:
        player.pause();
        break;
    case MediaPlayer::kStopped:
    case MediaPlayer::kPaused:
    case MediaPlayer::kScanForward:
    case MediaPlayer::kScanReverse:
    case MediaPlayer::kMediaEnded:
        player.play();
        break;
    default:
        break;
    }
}

void PlaybackEngine::toggleAutoPlayback()
{
    const bool checked = m_menu.isChecked(cmd::kAutoPlayback);
    m_menu.setChecked(cmd::kAutoPlayback, !checked);
    m_settings.autoPlay = !checked;
    m_services.menuBar.redraw();
}

void PlaybackEngine::selectHeadingByIndex(int index)
{
    HeadingTree& tree = m_tables.tree;
    for (const int wanted : {index, 0}) {
        HeadingTree::Item item = tree.firstItem();
        for (int steps = 0; item != HeadingTree::kNone && steps < tree.count(); ++steps) {
            if (tree.itemData(item) == wanted) {
                tree.select(item);
                return;
            }
            item = tree.nextInOrder(item);
        }
    }
}

void PlaybackEngine::pageJump()
{
    if (!m_state.bookOpen)
        return;
    const BookTable& pages = m_tables.pages;
    const int row = pages.selectionMark();
    selectHeadingByIndex(pages.integer(row, col::page::kTitelId));
    const std::string fragment = pages.text(row, col::page::kFragment);
    BookTable& phrases = m_tables.phrases;
    for (int i = 0; i < phrases.rowCount(); ++i) {
        if (phrases.text(i, col::phrase::kTextId) == fragment || phrases.text(i, col::phrase::kParId) == fragment) {
            phrases.setSelectionMark(i);
            phrases.setRowState(i, BookTable::kSelected);
            phrases.scrollIntoView(i);
            return;
        }
    }
}

void PlaybackEngine::menuPause(bool menuClosed)
{
    MediaPlayer& player = m_services.player;
    const int state = player.playState();
    if (state == MediaPlayer::kPlaying || state == MediaPlayer::kScanReverse)
        player.pause();
    else if (menuClosed && state == MediaPlayer::kPaused)
        player.play();
}

void PlaybackEngine::documentComplete(const std::string& url)
{
    m_state.startPage = contains(url, "start_de.html") || contains(url, "start_en.html");
}

void PlaybackEngine::titleCue()
{
    const BookTable& phrases = m_tables.phrases;
    const std::string& audio = phrases.text(0, col::phrase::kAudio);
    if (audio.empty())
        return;
    const double end = phrases.real(0, col::phrase::kPhrEnd) * 1000.0;
    const int milliseconds = end >= 1.0 && end <= 10000.0 ? static_cast<int>(end) : 10000;
    // The cue is heard alone: a book that already started (its first page was
    // selected while the menus were set up) waits for it.
    MediaPlayer& player = m_services.player;
    const bool wasPlaying = player.playState() == MediaPlayer::kPlaying;
    if (wasPlaying)
        player.pause();
    m_services.titleCue.playRange(bookPath(audio), milliseconds);
    if (wasPlaying)
        player.play();
}

void PlaybackEngine::stopTimers()
{
    m_services.timers.killTimer(kHighlightTimer);
    m_services.timers.killTimer(kPollTimer);
}

void PlaybackEngine::unload()
{
    m_services.player.setUrl("");
    m_state.lastAudioLoaded.clear();
}

}  // namespace korvin
