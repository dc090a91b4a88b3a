// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/audiotime.h"

#include <algorithm>
#include <cmath>

#include "book/booktables.h"
#include "playback/phraserows.h"

namespace korvin {

namespace {

double clipBegin(const BookTable& phrases, int row)
{
    return phrases.real(row, col::phrase::kPhrBeg);
}

// A clip whose end lies before its begin is empty.
double clipEnd(const BookTable& phrases, int row)
{
    return std::max(clipBegin(phrases, row), phrases.real(row, col::phrase::kPhrEnd));
}

// The rows a move may reach: the whole table, or the heading of `row`.
struct Reach {
    int first = 0;
    int last = -1;
};

Reach reachOf(const BookTable& phrases, int row, bool withinHeading)
{
    if (!withinHeading)
        return {0, phrases.rowCount() - 1};
    int last = row;
    while (sameHeading(phrases, last + 1, row))
        ++last;
    return {firstRowOfHeading(phrases, row), last};
}

// The nearest counted row from `row` on in `direction`, or -1.
int nextCounted(const Reach& reach, int row, int direction, const std::function<bool(int)>& counts)
{
    for (; row >= reach.first && row <= reach.last; row += direction)
        if (counts(row))
            return row;
    return -1;
}

AudioPlace forward(const BookTable& phrases, const Reach& reach, AudioPlace at, double seconds,
                   const std::function<bool(int)>& counts)
{
    while (true) {
        const double left = clipEnd(phrases, at.row) - at.position;
        if (seconds < left)
            return {at.row, at.position + seconds};
        seconds -= left;
        const int next = nextCounted(reach, at.row + 1, +1, counts);
        if (next < 0)
            return {at.row, clipEnd(phrases, at.row)};
        at = {next, clipBegin(phrases, next)};
    }
}

AudioPlace back(const BookTable& phrases, const Reach& reach, AudioPlace at, double seconds,
                const std::function<bool(int)>& counts)
{
    while (true) {
        const double before = at.position - clipBegin(phrases, at.row);
        if (seconds <= before)
            return {at.row, at.position - seconds};
        seconds -= before;
        const int previous = nextCounted(reach, at.row - 1, -1, counts);
        if (previous < 0)
            return {at.row, clipBegin(phrases, at.row)};
        at = {previous, clipEnd(phrases, previous)};
    }
}

}  // namespace

bool hasAudio(const BookTable& phrases, int row)
{
    return !phrases.text(row, col::phrase::kAudio).empty();
}

AudioPlace moveThroughAudio(const BookTable& phrases, AudioPlace from, double seconds, bool withinHeading,
                            const std::function<bool(int)>& counts)
{
    if (from.row < 0 || from.row >= phrases.rowCount() || std::isnan(seconds))
        return from;
    const Reach reach = reachOf(phrases, from.row, withinHeading);
    const bool ahead = seconds >= 0;
    AudioPlace at = from;
    if (counts(from.row)) {
        at.position = std::clamp(from.position, clipBegin(phrases, from.row), clipEnd(phrases, from.row));
    } else {
        // A phrase without sound: the audio after it (or before it) is where the move starts.
        const int row = nextCounted(reach, from.row + (ahead ? 1 : -1), ahead ? 1 : -1, counts);
        if (row < 0)
            return from;
        at = {row, ahead ? clipBegin(phrases, row) : clipEnd(phrases, row)};
    }
    return ahead ? forward(phrases, reach, at, seconds, counts) : back(phrases, reach, at, -seconds, counts);
}

HeadingAudio headingAudio(const BookTable& phrases, AudioPlace place, const std::function<bool(int)>& counts)
{
    HeadingAudio audio;
    if (place.row < 0 || place.row >= phrases.rowCount())
        return audio;
    const Reach heading = reachOf(phrases, place.row, true);
    for (int row = heading.first; row <= heading.last; ++row) {
        if (!counts(row))
            continue;
        const double length = clipEnd(phrases, row) - clipBegin(phrases, row);
        audio.length += length;
        if (row < place.row)
            audio.heard += length;
        else if (row == place.row)
            audio.heard += std::max(0.0, place.position - clipBegin(phrases, row));
    }
    return audio;
}

}  // namespace korvin
