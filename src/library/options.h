// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

#include "library/scrambler.h"

namespace korvin {

// The listener's options beyond `Settings.dl`: behaviours that change what
// the player does otherwise, each off until the listener turns it on. Kept in
// `Optionen.dl` beside `Settings.dl`, which keeps its fourteen lines.
struct Options {
    // Continuing after a pause of more than a minute, and the automatic resume
    // of a book, start 5 s earlier, never before the heading's start.
    bool rewindOnResume = false;
    // Faster goes on to 3.0 and slower down to 0.5.
    bool upToTriple = false;
    friend bool operator==(const Options&, const Options&) = default;
};

// `Optionen.dl`: one option a line, "1" or "0", each line scrambled as the
// lines of `Settings.dl` are, the last one without a line end.
class OptionsFile {
public:
    static constexpr std::size_t kLineCount = 2;
    using Lines = std::array<std::string, kLineCount>;

    OptionsFile(std::string path, const Scrambler& scrambler);

    // What the file says. A file that is missing, cannot be read or is
    // damaged (fewer lines, or one that does not read exactly "1" or "0")
    // gives every option off: a half-read file must not turn on one of them.
    // Lines after the known ones are passed over.
    Options read() const;
    // Writes the file in one step (temporary file, flush, rename); false when
    // it could not be written, the old file then being left as it was.
    bool write(const Options& options) const;

    // The lines of `options`, before scrambling.
    static Lines format(const Options& options);

private:
    std::string m_path;
    const Scrambler& m_scrambler;
};

}  // namespace korvin
