#pragma once

#include <array>
#include <optional>
#include <string>

#include "library/scrambler.h"

namespace korvin {

// The listener's choices kept between runs.
struct Settings {
    static constexpr int kDefaultVolume = 50;
    static constexpr double kDefaultRate = 1.0;

    int volume = kDefaultVolume;
    double rate = kDefaultRate;
    bool skipFootnotes = false;
    bool skipSidebars = false;
    bool skipProdnotes = false;
    bool skipPageNumbers = false;
    bool autoPlay = false;
    bool background = false;
    bool italic = false;
    bool bold = false;
    bool textColour = false;
    std::string colour;       // "#rrggbb", empty until chosen
    int languageOffset = 0;   // 0 German, 200 English
};

// What a settings file says, line by line, as the loading reads it.
struct SettingsLines {
    static constexpr int kCount = 14;
    std::array<std::string, kCount> lines;  // unscrambled; a missing line is empty

    // A flag line counts as set when it reads as the integer 1 ("1", "01", " 1", "1x").
    bool flag(int lineNumber) const;
    // Line 1; an empty or unreadable line gives the default volume, a number
    // outside 0..100 is brought into range.
    int volume() const;
    // Line 2; an empty or unreadable line, or a rate outside 0.5..3.0, gives 1.0.
    double rate() const;
    // Line 14 read as an integer (0 German, 200 English, anything else: no change).
    int language() const;
    const std::string& line(int lineNumber) const { return lines[static_cast<std::size_t>(lineNumber - 1)]; }
};

// `Settings.dl`: fourteen scrambled lines, the last one without a line end.
class SettingsFile {
public:
    SettingsFile(std::string path, const Scrambler& scrambler);

    // nullopt when the file cannot be opened or read.
    std::optional<SettingsLines> read() const;
    // Writes the file in one step; false when it could not be written.
    bool write(const Settings& settings) const;

    // The fourteen lines of `settings`, before scrambling.
    static std::array<std::string, SettingsLines::kCount> format(const Settings& settings);

private:
    std::string m_path;
    const Scrambler& m_scrambler;
};

}  // namespace korvin
