// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>

#include "library/scrambler.h"
#include "ui/textstyle.h"

namespace korvin {

// The listener's choices kept between runs: what `Settings.dl` stores. The
// main window holds them in this form for the whole run, so that they are read
// into it and written from it whole.
struct Settings {
    static constexpr int kDefaultVolume = 50;
    static constexpr double kDefaultRate = 1.0;
    // The rates the file keeps; another reads as the default.
    static constexpr double kSlowestRate = 0.5;
    static constexpr double kFastestRate = 3.0;

    int volume = kDefaultVolume;  // re-applied at every seek; follows the player while playing
    double rate = kDefaultRate;   // re-applied to the player at every seek
    bool skipFootnotes = false;
    bool skipSidebars = false;
    bool skipProdnotes = false;
    bool skipPageNumbers = false;
    bool autoPlay = false;   // mirrors the check of "Autom. Wiedergabe"
    TextStyle style;         // how the text view marks the current phrase and the search term
    int languageOffset = 0;  // 0 German, 200 English
    friend bool operator==(const Settings&, const Settings&) = default;
};

// `Settings.dl`: fourteen scrambled lines, the last one without a line end.
class SettingsFile {
public:
    static constexpr std::size_t kLineCount = 14;
    using Lines = std::array<std::string, kLineCount>;

    SettingsFile(std::string path, const Scrambler& scrambler);

    // What the file says, or nullopt when it cannot be opened or read. A missing
    // line reads as empty. A flag is set when its line reads as the integer 1
    // ("1", "01", " 1", "1x"). An empty or unreadable volume gives the default
    // and a number outside 0..100 is brought into range; an empty or unreadable
    // rate, or one outside 0.5..3.0, gives 1.0. The colour is the one written
    // for the style whose flag is set (the text colour's before the
    // background's), empty when neither is. The language offset is the number
    // written, which may name no language.
    std::optional<Settings> read() const;
    // Writes the file in one step; false when it could not be written.
    bool write(const Settings& settings) const;

    // The fourteen lines of `settings`, before scrambling.
    static Lines format(const Settings& settings);

private:
    std::string m_path;
    const Scrambler& m_scrambler;
};

}  // namespace korvin
