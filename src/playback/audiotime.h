// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "book/booktable.h"

namespace korvin {

// Time through a book's audio, as the phrase table gives it: each phrase row
// with sound is a clip (`PhrBeg` to `PhrEnd`) of its file; a phrase without
// sound takes no time. `counts` says which rows count (those with sound, or
// those that are heard: with sound and not skipped).

// A place in the audio: a phrase row and a position in its file, in seconds.
struct AudioPlace {
    int row = -1;
    double position = 0.0;
    friend bool operator==(const AudioPlace&, const AudioPlace&) = default;
};

// `from` moved by `seconds` of audio (back when negative), across phrases,
// files and headings, or within the heading of `from` when `withinHeading`.
// A place off its clip counts from the clip's nearer end; a row that does not
// count stands between the audio before it and the audio after it. The move
// stops at the first counted clip's begin and at the last one's end; it lands
// on a clip's end only there, else on the next clip's begin. Without a
// counted row in reach, `from` itself.
AudioPlace moveThroughAudio(const BookTable& phrases, AudioPlace from, double seconds, bool withinHeading,
                            const std::function<bool(int)>& counts);

// How much of the audio of a heading lies before `place` (the clips of the
// heading's counted rows before its row, and how far `place` stands into its
// own clip, when its row counts) and how much the heading holds in all.
struct HeadingAudio {
    double heard = 0.0;
    double length = 0.0;
};
HeadingAudio headingAudio(const BookTable& phrases, AudioPlace place, const std::function<bool(int)>& counts);

// Whether `row` has sound (its `Audio` is not empty).
bool hasAudio(const BookTable& phrases, int row);

}  // namespace korvin
