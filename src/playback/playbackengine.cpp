// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/playbackengine.h"

#include "book/phraselookup.h"
#include "book/textnumbers.h"
#include "playback/phraserows.h"
#include "ui/commandids.h"

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
    const std::string document = phrases.text(row, col::phrase::kDokument);
    const std::string audio = phrases.text(row, col::phrase::kAudio);
    const std::string phraseBegin = phrases.text(row, col::phrase::kPhrBeg);
    const std::string phraseEnd = phrases.text(row, col::phrase::kPhrEnd);
    const std::string skipClass = phrases.text(row, col::phrase::kSkip);
    m_state.currentFragmentId = phrases.text(row, col::phrase::kDokFragment);
    const double begin = toReal(phraseBegin);
    const HeadingTree::Item selected = m_tables.tree.selectedItem();

    followPages(row);

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

    // A file the player could not open counts as no sound while automatic
    // playback goes on; otherwise a phrase that asks for it tries it again.
    const bool unplayable = audio == m_state.lastAudioLoaded && audioFailed();
    if (audio.empty() || (unplayable && m_settings.autoPlay)) {
        if (!phrases.text(row + 1, col::phrase::kAudio).empty() || m_settings.autoPlay)
            stepForward();
        return;
    }

    MediaPlayer& player = m_services.player;
    m_services.timers.killTimer(kPollTimer);
    m_state.currentPhraseEnd = toReal(phraseEnd);

    bool played = false;
    if (audio != m_state.lastAudioLoaded || unplayable) {
        player.setUrl(bookPath(audio));
        m_state.lastAudioLoaded = audio;
        if (begin != 0) {
            player.setRate(m_settings.rate);
            player.setVolume(playerVolume());
            player.setPosition(begin);
            play();
            played = true;
        }
    }
    // Texts, not numbers: a phrase whose begin is written as the previous end
    // follows on, and the player streams on without a seek.
    if (m_state.previousPhraseEnd != phraseBegin || m_state.forceSeek) {
        m_state.forceSeek = false;
        player.setPosition(begin);
        player.setRate(m_settings.rate);
        player.setVolume(playerVolume());
    }
    m_state.previousPhraseEnd = phraseEnd;
    // A jump the listener asked for is heard wherever it lands; in the file
    // already loaded a paused player would otherwise only be moved.
    if (begin == 0 || (m_jumping && !played))
        play();
    m_services.timers.setTimer(kPollTimer, kPollPeriod);
}

void PlaybackEngine::play()
{
    m_stopHandled = false;
    m_services.player.play();
}

void PlaybackEngine::followPages(int row)
{
    BookTable& pages = m_tables.pages;
    if (pages.rowCount() == 0)
        return;
    if (const int k = findPageRowAt(m_tables, row); k >= 0) {
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

bool PlaybackEngine::skippedRow(int row) const
{
    return skipped(m_tables.phrases.text(row, col::phrase::kSkip));
}

// What the phrase start of `row` would pass over at once: a skipped phrase, a
// phrase without sound that steps on, a file that failed during automatic playback.
bool PlaybackEngine::passedOver(int row) const
{
    const BookTable& phrases = m_tables.phrases;
    const std::string& audio = phrases.text(row, col::phrase::kAudio);
    if (skippedRow(row))
        return true;
    if (audio.empty())
        return !phrases.text(row + 1, col::phrase::kAudio).empty() || m_settings.autoPlay;
    return m_settings.autoPlay && audio == m_state.lastAudioLoaded && audioFailed();
}

void PlaybackEngine::markBookChange(const std::string& skipClass)
{
    if (contains(skipClass, "change")) {
        // The end of this volume: playing on into the next one needs the
        // listener. The check mark goes with the flag, so that the menu, the
        // flag and the saved settings say the same.
        if (m_menu.isChecked(cmd::kAutoPlayback)) {
            m_settings.autoPlay = false;
            m_menu.setChecked(cmd::kAutoPlayback, false);
        }
        m_menu.setGrayed(cmd::kChangeVolume, false);
    } else {
        m_menu.setGrayed(cmd::kChangeVolume, true);
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
    // Stepping back onto a phrase that is passed over would step forward again
    // and only restart the current one.
    BookTable& phrases = m_tables.phrases;
    const int row = phrases.selectionMark();
    int previous = row - 1;
    while (sameHeading(phrases, previous, row) && passedOver(previous))
        --previous;
    if (!sameHeading(phrases, previous, row))
        return;
    phrases.setSelectionMark(previous);
    phrases.setRowState(previous, BookTable::kSelected);
    phrases.scrollIntoView(previous);
}

// ---------------------------------------------------------------------------
// Poll

void PlaybackEngine::pollTick()
{
    m_resumedByMenu = false;
    MediaPlayer& player = m_services.player;
    if (player.playState() == MediaPlayer::kPlaying)
        m_quietPolls = 0;
    else if (m_quietPolls < kMaxQuietPolls)
        ++m_quietPolls;
    if (player.openState() != MediaPlayer::kOpenStateMediaOpen) {
        if (audioFailed())
            audioUnplayable();
        return;
    }
    if (player.playState() == MediaPlayer::kPlaying) {
        m_stopHandled = false;
        m_heardSinceStart = true;
        const double position = player.position();
        // While the sleep timer fades the book out, the player's volume is not
        // the listener's: the setting keeps theirs.
        if (m_state.volumePercent >= 100)
            m_settings.volume = player.volume();
        if (position >= m_state.currentPhraseEnd)
            phraseEnded();
        return;
    }
    // A player tells the end of its file as stopped or as media ended (libmpv's
    // does the latter): either way nothing more comes from this file.
    const int state = player.playState();
    if ((state == MediaPlayer::kStopped || state == MediaPlayer::kMediaEnded) && !m_stopHandled)
        fileEnded();
}

// The position has passed the current phrase's end.
void PlaybackEngine::phraseEnded()
{
    const BookTable& phrases = m_tables.phrases;
    const int row = phrases.selectionMark();
    stepForward();
    if (phrases.selectionMark() != row) {
        // A run of skipped phrases up to the heading's end leaves the last of
        // them selected, unplayed: the heading is over.
        if (skippedRow(phrases.selectionMark()))
            endHeading();
        return;
    }
    // The last phrase of the heading. Audio after it that belongs to no phrase
    // plays on to the end of the file; the next heading's audio does not.
    if (nextHeadingFollowsInFile(phrases, row, m_state.lastAudioLoaded, m_state.currentPhraseEnd))
        endHeading();
}

// The player has stopped at the end of its file.
void PlaybackEngine::fileEnded()
{
    const BookTable& phrases = m_tables.phrases;
    const int row = phrases.selectionMark();
    if (phrases.text(row, col::phrase::kAudio).empty() && !m_settings.autoPlay) {
        // A phrase without sound that waits for the listener keeps waiting.
        m_stopHandled = true;
        return;
    }
    // The file ended before the heading did (one file per phrase, or a clip
    // that reaches a little past the file's real end): on to the next phrase.
    if (!phrases.text(row, col::phrase::kAudio).empty() && sameHeading(phrases, row + 1, row)) {
        stepForward();
        if (skippedRow(phrases.selectionMark()))
            endHeading();
        return;
    }
    endHeading();
}

// The file of the current phrase could not be opened.
void PlaybackEngine::audioUnplayable()
{
    // Without automatic playback the phrase waits, highlighted, like one
    // without sound.
    if (!m_settings.autoPlay)
        return;
    const BookTable& phrases = m_tables.phrases;
    const int row = phrases.selectionMark();
    stepForward();
    if (phrases.selectionMark() == row || skippedRow(phrases.selectionMark()))
        endHeading();
}

// The player holds a file that it could not open (missing, unreadable, no audio).
bool PlaybackEngine::audioFailed() const
{
    const MediaPlayer& player = m_services.player;
    return player.openState() == MediaPlayer::kOpenStateClosed && !player.url().empty();
}

void PlaybackEngine::endHeading()
{
    if (m_settings.autoPlay)
        nextHeading();
    else
        backToHeadingStart();
    if (m_headingEnded)
        m_headingEnded();
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
    // The book starts again only when something of it was heard since it last
    // did: one whose every file fails would go round for ever, heading after
    // heading, each one announced.
    if (next == tree.firstItem()) {
        if (!m_heardSinceStart)
            return;
        m_heardSinceStart = false;
    }
    // A book of one heading: selecting it again would start nothing.
    if (next == current) {
        restartHeading();
        return;
    }
    tree.select(next);
}

void PlaybackEngine::backToHeadingStart()
{
    m_services.timers.killTimer(kPollTimer);
    BookTable& phrases = m_tables.phrases;
    const std::string treeId = phrases.text(phrases.selectionMark(), col::phrase::kTreeId);
    selectHeadingByIndex(toInteger(treeId));
    // In a heading of one phrase that row is still selected: selecting it again
    // would start nothing, and the player would stay at the end of its file,
    // where Space plays nothing. Cleared first, the phrase start runs and puts
    // the player back at the phrase.
    selectAfresh(firstRowOfHeading(phrases, phrases.selectionMark()));
    m_services.player.pause();
    // A player at the end of its file stays stopped through the seek and the
    // pause: that end has been dealt with, and must not end the heading again.
    m_stopHandled = true;
}

// Starts the current heading over from its first phrase, its file loaded afresh,
// as selecting the heading does.
void PlaybackEngine::restartHeading()
{
    m_services.player.setUrl("");
    m_state.lastAudioLoaded.clear();
    BookTable& phrases = m_tables.phrases;
    selectAfresh(firstRowOfHeading(phrases, phrases.selectionMark()));
}

// Selects `row` so that its phrase start runs even when it is the selected row.
void PlaybackEngine::selectAfresh(int row)
{
    BookTable& phrases = m_tables.phrases;
    phrases.setSelectionMark(row);
    phrases.scrollIntoView(row);
    phrases.setRowState(row, BookTable::kNone);
    phrases.setRowState(row, BookTable::kSelected);
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
    if (m_resumedByMenu) {
        // Chosen from the menu: closing it has just played the player. What the
        // listener pauses or continues is what was heard before the menu opened.
        m_resumedByMenu = false;
        if (m_playingBeforeMenu)
            player.pause();
        else
            continuing();
        return;
    }
    if (audioFailed()) {
        // Waiting on a phrase whose file failed: try it again.
        m_state.forceSeek = true;
        selectAfresh(m_tables.phrases.selectionMark());
        return;
    }
    switch (player.playState()) {
    case MediaPlayer::kPlaying:
        player.pause();
        break;
    case MediaPlayer::kStopped:
    case MediaPlayer::kPaused:
    case MediaPlayer::kScanForward:
    case MediaPlayer::kScanReverse:
    case MediaPlayer::kMediaEnded:
        continuing();
        play();
        break;
    default:
        break;
    }
}

void PlaybackEngine::continuing()
{
    if (m_continuing)
        m_continuing();
    m_quietPolls = 0;
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
    Jump jump(*this);
    const BookTable& pages = m_tables.pages;
    const int row = pages.selectionMark();
    selectHeadingByIndex(pages.integer(row, col::page::kTitelId));
    const std::string fragment = pages.text(row, col::page::kFragment);
    const int phrase = findPhraseRow(m_tables, pages.text(row, col::page::kSmil), fragment);
    if (phrase >= 0)
        jump.arriveAt(phrase);
}

PlaybackEngine::Jump::Jump(PlaybackEngine& engine)
    : m_engine(engine)
    , m_outerJump(engine.m_jumping)
    , m_rowBefore(engine.m_tables.phrases.selectedRow())
{
    m_engine.m_jumping = true;
}

PlaybackEngine::Jump::~Jump()
{
    m_engine.m_jumping = m_outerJump;
}

void PlaybackEngine::Jump::arriveAt(int row, bool forceSeek)
{
    BookTable& phrases = m_engine.m_tables.phrases;
    const bool selected = phrases.selectedRow() == row;
    phrases.setSelectionMark(row);
    phrases.scrollIntoView(row);
    if (selected && row != m_rowBefore)
        return;
    if (forceSeek)
        m_engine.m_state.forceSeek = true;
    if (selected)
        phrases.setRowState(row, BookTable::kNone);
    phrases.setRowState(row, BookTable::kSelected);
}

void PlaybackEngine::menuPause(bool menuClosed)
{
    MediaPlayer& player = m_services.player;
    const int state = player.playState();
    m_resumedByMenu = false;
    if (!menuClosed && !m_menuOpen) {
        m_menuOpen = true;
        m_playingBeforeMenu = state == MediaPlayer::kPlaying;
    }
    if (menuClosed)
        m_menuOpen = false;
    if (state == MediaPlayer::kPlaying || state == MediaPlayer::kScanReverse) {
        player.pause();
    } else if (menuClosed && state == MediaPlayer::kPaused) {
        play();
        m_resumedByMenu = true;
    }
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
    // The cue is heard alone. A book that already started (its first page was
    // selected while the menus were set up) is unloaded, not paused: nothing of
    // it plays before the cue, nor between the cue and the resume, whose phrase
    // start loads its file afresh and plays it.
    m_services.player.setUrl("");
    m_state.lastAudioLoaded.clear();
    m_services.titleCue.playRange(bookPath(audio), milliseconds);
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

bool PlaybackEngine::isHeard(int row) const
{
    return hasAudio(m_tables.phrases, row) && !skippedRow(row);
}

void PlaybackEngine::moveTo(AudioPlace place)
{
    BookTable& phrases = m_tables.phrases;
    if (place.row < 0 || place.row >= phrases.rowCount())
        return;
    MediaPlayer& player = m_services.player;
    const bool playing = player.playState() == MediaPlayer::kPlaying;
    const HeadingTree& tree = m_tables.tree;
    const int heading = phrases.integer(place.row, col::phrase::kTreeId);
    if (place.row != phrases.selectionMark() || heading != tree.itemData(tree.selectedItem())) {
        // Another heading is chosen as the tree chooses it, so that it is
        // announced as any heading change is.
        if (heading != tree.itemData(tree.selectedItem()))
            selectHeadingByIndex(heading);
        m_state.forceSeek = true;
        selectAfresh(place.row);
    }
    player.setPosition(place.position);
    // The phrase start plays; the listener's pause stays a pause.
    if (playing && player.playState() != MediaPlayer::kPlaying)
        play();
    else if (!playing && player.playState() == MediaPlayer::kPlaying)
        player.pause();
}

}  // namespace korvin
