// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "support/controllerharness.h"
#include "support/testbook.h"

namespace korvin::test {

// A phrase of a timed book: its clip in seconds; no audio file, no sound.
struct TimedPhrase {
    std::string audio{};
    double begin = 0.0;
    double end = 0.0;
    std::string systemRequired{};  // "footnote-on" and the like
};

struct TimedHeading {
    int level = 1;
    std::string title{};
    std::vector<TimedPhrase> phrases{};
};

// How the harness starts before the book is opened.
struct TimedBookOptions {
    bool autoPlay = false;
    bool rewindOnResume = false;
    std::string totalTime{};  // ncc:totalTime; none when empty
};

// Writes a book of `headings` ("h<i>.smil", pars "p<i>_<j>" over "t.html#x<i>_<j>",
// a page "<i + 1>" at every heading's first phrase), gives every audio file to
// the simulated player, lasting 0.2 s past its last clip, writes the settings
// (and options) files and restarts the harness on them, and opens the book.
void openTimedBook(TestBook& book, ControllerHarness& harness, const std::vector<TimedHeading>& headings,
                   const TimedBookOptions& options = {});

}  // namespace korvin::test
