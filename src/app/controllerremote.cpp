// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/controllerremote.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "book/textnumbers.h"
#include "book/timetext.h"
#include "ui/commandids.h"

namespace korvin {

ControllerRemote::Activity::~Activity()
{
    if (--m_remote.m_depth == 0 && m_remote.m_listener)
        m_remote.m_listener();
}

ControllerRemote::ControllerRemote(Parts parts)
    : m_parts(std::move(parts))
{
}

bool ControllerRemote::playing() const
{
    return m_parts.player.playState() == MediaPlayer::kPlaying;
}

std::optional<ControllerRemote::Span> ControllerRemote::currentSpan() const
{
    const HeadingTree& tree = m_parts.tables.tree;
    const BookTable& phrases = m_parts.tables.phrases;
    const int row = phrases.selectionMark();
    if (!m_parts.state.playback.bookOpen || row < 0 || row >= phrases.rowCount() ||
        toInteger(phrases.text(row, col::phrase::kTreeId)) != tree.itemData(tree.selectedItem()))
        return std::nullopt;
    Span span;
    span.first = firstRowOfHeading(phrases, row);
    span.last = row;
    while (sameHeading(phrases, span.last + 1, row))
        ++span.last;
    span.length = positionInHeading(phrases, span.last, phrases.real(span.last, col::phrase::kPhrEnd));
    return span;
}

NowPlaying ControllerRemote::nowPlaying() const
{
    const WindowState& state = m_parts.state;
    NowPlaying now;
    now.rate = state.settings.rate;
    now.volume = state.settings.volume;
    const AudioControls::RateRange range = m_parts.audio.rateRange();
    now.minimumRate = range.slowest;
    now.maximumRate = range.fastest;
    if (!state.playback.bookOpen)
        return now;
    now.bookOpen = true;
    now.status = playing() ? NowPlaying::Status::kPlaying : NowPlaying::Status::kPaused;
    now.bookSerial = state.bookSerial;
    now.bookTitle = state.credits.title;
    now.creators = state.credits.creators;

    const HeadingTree& tree = m_parts.tables.tree;
    now.headingCount = tree.count();
    const HeadingTree::Item item = tree.selectedItem();
    if (!tree.isItem(item))
        return now;
    now.heading = static_cast<int>(tree.itemData(item));
    now.headingTitle = tree.itemText(item);
    now.canGoNext = tree.nextVisible(item) != HeadingTree::kNone;
    now.canGoPrevious = tree.previousVisible(item) != HeadingTree::kNone;
    // What is heard of the heading is its clips; the time its SMIL file
    // declares serves a heading without them.
    if (const auto span = currentSpan())
        now.headingDuration = span->length;
    else
        now.headingDuration = parseTime(m_parts.tables.headings.text(now.heading, col::heading::kZeit));
    return now;
}

double ControllerRemote::position() const
{
    const auto span = currentSpan();
    if (!span)
        return 0.0;
    const BookTable& phrases = m_parts.tables.phrases;
    const int row = phrases.selectionMark();
    const MediaPlayer& player = m_parts.player;
    // Without a file, or at the end of one, the phrase stands at its start.
    const bool atStart = player.url().empty() || player.playState() == MediaPlayer::kMediaEnded;
    const double inFile = atStart ? phrases.real(row, col::phrase::kPhrBeg) : player.position();
    // Sound after the last phrase of a file belongs to no phrase and is not
    // counted, nor is what a clip runs on past its end.
    const double clipEnd = phrases.real(row, col::phrase::kPhrEnd);
    return std::min(positionInHeading(phrases, row, std::min(inFile, clipEnd)), span->length);
}

// ---------------------------------------------------------------------------
// Commands

bool ControllerRemote::isEcho(Action action, Source source, std::int64_t atMs)
{
    const bool echo = m_lastPress && m_lastPress->action == action && m_lastPress->source != source &&
                      std::llabs(atMs - m_lastPress->atMs) < kEchoMs;
    // An echo answers one press only: a third is a press of its own.
    if (echo)
        m_lastPress.reset();
    else
        m_lastPress = Press{action, source, atMs};
    return echo;
}

void ControllerRemote::act(Action action, Source source, std::int64_t atMs)
{
    if (isEcho(action, source, atMs))
        return;
    const Activity activity(*this);
    switch (action) {
    case Action::kPlayPause:
        m_parts.command(cmd::kPauseContinue);
        break;
    case Action::kPlay:
        if (!playing())
            m_parts.command(cmd::kPauseContinue);
        break;
    case Action::kPause:
    case Action::kStop:
        if (playing())
            m_parts.command(cmd::kPauseContinue);
        break;
    case Action::kNext:
        moveToHeading(+1);
        break;
    case Action::kPrevious:
        moveToHeading(-1);
        break;
    }
}

void ControllerRemote::moveToHeading(int direction)
{
    if (!m_parts.state.playback.bookOpen)
        return;
    HeadingTree& tree = m_parts.tables.tree;
    const HeadingTree::Item current = tree.selectedItem();
    const HeadingTree::Item target = direction > 0 ? tree.nextVisible(current) : tree.previousVisible(current);
    if (target != HeadingTree::kNone)
        tree.select(target);
}

void ControllerRemote::seekBy(double seconds)
{
    if (!std::isfinite(seconds))
        return;
    const Activity activity(*this);
    const auto span = currentSpan();
    if (!span)
        return;
    const HeadingPlace place = placeInHeading(m_parts.tables.phrases, span->first, std::max(0.0, position() + seconds));
    if (place.row < 0)
        moveToHeading(+1);
    else
        moveTo(place);
}

void ControllerRemote::seekTo(double seconds)
{
    if (!(seconds >= 0.0))
        return;
    const Activity activity(*this);
    const auto span = currentSpan();
    if (!span)
        return;
    const HeadingPlace place = placeInHeading(m_parts.tables.phrases, span->first, seconds);
    if (place.row >= 0)
        moveTo(place);
}

// Another phrase is started as a jump to it starts it (the player loads its
// file, the text follows); then the player is put at the place within it. A
// paused player stays paused.
void ControllerRemote::moveTo(const HeadingPlace& place)
{
    BookTable& phrases = m_parts.tables.phrases;
    MediaPlayer& player = m_parts.player;
    const bool wasPlaying = playing();
    const bool loaded = place.row == phrases.selectionMark() &&
                        player.openState() == MediaPlayer::kOpenStateMediaOpen &&
                        phrases.text(place.row, col::phrase::kAudio) == m_parts.state.playback.lastAudioLoaded;
    if (!loaded) {
        m_parts.state.playback.forceSeek = true;
        phrases.setSelectionMark(place.row);
        phrases.scrollIntoView(place.row);
        phrases.setRowState(place.row, BookTable::kNone);
        phrases.setRowState(place.row, BookTable::kSelected);
        // A skipped phrase has passed the start on to a later one.
        if (phrases.selectionMark() != place.row)
            return;
    }
    player.setPosition(place.position);
    if (!wasPlaying && playing())
        player.pause();
}

void ControllerRemote::setRate(double rate)
{
    if (!(rate >= 0.0))
        return;
    const Activity activity(*this);
    if (rate == 0.0) {
        if (playing())
            m_parts.command(cmd::kPauseContinue);
        return;
    }
    const AudioControls::RateRange range = m_parts.audio.rateRange();
    m_parts.audio.changeRate(std::clamp(rate, range.slowest, range.fastest));
}

void ControllerRemote::setVolume(int volume)
{
    const Activity activity(*this);
    m_parts.audio.changeVolume(std::clamp(volume, 0, 100));
}

}  // namespace korvin
