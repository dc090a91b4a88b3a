// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "book/booktable.h"

namespace korvin {

// Questions about the rows around a phrase, asked when a phrase or its file
// ends. Rows are those of the phrase table; a heading's rows stand together, in
// the order of its SMIL file. A missing row belongs to no heading.

// Whether `row` and `other` are rows of the same heading.
bool sameHeading(const BookTable& phrases, int row, int other);

// The first row of the heading that `row` belongs to.
int firstRowOfHeading(const BookTable& phrases, int row);

// Whether the audio file `audio` goes on, at `end` seconds or later, with the
// audio of the heading after the one of `row`: the first phrase with sound of
// the next heading in the table is a clip of `audio` that begins at or after
// `end`. Then the heading of `row` has no more audio in that file.
bool nextHeadingFollowsInFile(const BookTable& phrases, int row, const std::string& audio, double end);

// Seconds of its heading heard when the player stands at `position` (seconds
// of the file) in the phrase of `row`: the clips of the heading's phrases
// before `row`, and how far `position` lies into the clip of `row`. A phrase
// without sound adds nothing.
double positionInHeading(const BookTable& phrases, int row, double position);

// Where `offset` seconds into the heading whose first row is `first` lie: the
// phrase row and the position in its file, counted as positionInHeading()
// counts. Row -1 when the heading's clips end at or before `offset`.
struct HeadingPlace {
    int row = -1;
    double position = 0.0;
};
HeadingPlace placeInHeading(const BookTable& phrases, int first, double offset);

}  // namespace korvin
