// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "book/booktables.h"
#include "platform/mediaplayer.h"
#include "playback/playbackengine.h"
#include "playback/playbackstate.h"

namespace korvin {

// The skips by time (J and K, with Shift a minute): through the audio the
// listener hears, across phrases, files and headings, a heading reached being
// chosen as the tree chooses it. A phrase without sound, or one that is
// skipped, takes no time. At the book's ends the skip stops there: at the
// first phrase's begin, at the last phrase's end (where the book ends as when
// heard to its end). The play state is kept.
class TimeSkips {
public:
    static constexpr double kShort = 10.0;
    static constexpr double kLong = 60.0;

    TimeSkips(const PlaybackState& state, const BookTables& tables, PlaybackEngine& engine, MediaPlayer& player);

    // Forward by `seconds` of audio, back when negative. Nothing without a book.
    void skip(double seconds);

private:
    const PlaybackState& m_state;
    const BookTables& m_tables;
    PlaybackEngine& m_engine;
    MediaPlayer& m_player;
};

}  // namespace korvin
