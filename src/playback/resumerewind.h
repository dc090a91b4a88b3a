// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "book/booktables.h"
#include "library/options.h"
#include "platform/mediaplayer.h"
#include "playback/audiotime.h"
#include "playback/playbackengine.h"

namespace korvin {

// The option "Beim Fortsetzen zurückspulen": continuing after a pause of more
// than a minute, and the automatic resume of a book, start 5 s of audio
// earlier, never before the start of the heading. Off, nothing changes.
class ResumeRewind {
public:
    static constexpr double kRewind = 5.0;
    static constexpr long long kLongPause = 60 * 1000;

    ResumeRewind(const Options& options, const BookTables& tables, PlaybackEngine& engine, MediaPlayer& player);

    // Where the automatic resume starts the book left at `saved`.
    AudioPlace resumePlace(AudioPlace saved) const;
    // The engine is about to continue the book (its continue listener).
    void continuing();

private:
    AudioPlace earlier(AudioPlace place) const;

    const Options& m_options;
    const BookTables& m_tables;
    PlaybackEngine& m_engine;
    MediaPlayer& m_player;
};

}  // namespace korvin
