// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/settings.h"

#include <charconv>
#include <cmath>

#include "book/textnumbers.h"
#include "library/statefile.h"

namespace korvin {

namespace {

bool isNumber(const std::string& text)
{
    for (char c : text)
        if (c >= '0' && c <= '9')
            return true;
    return false;
}

std::string flagText(bool flag)
{
    return flag ? "1" : "0";
}

// The file's lines, numbered from 1.
enum Line {
    kVolumeLine = 1,
    kRateLine,
    kSkipFootnotesLine,
    kSkipSidebarsLine,
    kSkipProdnotesLine,
    kSkipPageNumbersLine,
    kAutoPlayLine,
    kBackgroundLine,
    kBackgroundColourLine,
    kItalicLine,
    kBoldLine,
    kTextColourLine,
    kTextColourColourLine,
    kLanguageLine,
};

static_assert(static_cast<std::size_t>(kLanguageLine) == SettingsFile::kLineCount);

const std::string& line(const SettingsFile::Lines& lines, Line number)
{
    return lines[static_cast<std::size_t>(number - 1)];
}

bool flag(const SettingsFile::Lines& lines, Line number)
{
    return toInteger(line(lines, number)) == 1;
}

int volume(const std::string& text)
{
    if (!isNumber(text))
        return Settings::kDefaultVolume;
    const int volume = toInteger(text);
    return volume < 0 ? 0 : volume > 100 ? 100 : volume;
}

double rate(const std::string& text)
{
    const double rate = toReal(text);
    if (!std::isfinite(rate) || rate < Settings::kSlowestRate || rate > Settings::kFastestRate)
        return Settings::kDefaultRate;
    return rate;
}

}  // namespace

SettingsFile::SettingsFile(std::string path, const Scrambler& scrambler)
    : m_path(std::move(path))
    , m_scrambler(scrambler)
{
}

std::optional<Settings> SettingsFile::read() const
{
    const auto fileLines = readTextLines(m_path);
    if (!fileLines)
        return std::nullopt;
    Lines lines;
    for (std::size_t i = 0; i < lines.size() && i < fileLines->size(); ++i)
        lines[i] = m_scrambler.unscramble((*fileLines)[i]);

    Settings settings;
    settings.volume = volume(line(lines, kVolumeLine));
    settings.rate = rate(line(lines, kRateLine));
    settings.skipFootnotes = flag(lines, kSkipFootnotesLine);
    settings.skipSidebars = flag(lines, kSkipSidebarsLine);
    settings.skipProdnotes = flag(lines, kSkipProdnotesLine);
    settings.skipPageNumbers = flag(lines, kSkipPageNumbersLine);
    settings.autoPlay = flag(lines, kAutoPlayLine);
    TextStyle& style = settings.style;
    style.background = flag(lines, kBackgroundLine);
    style.italic = flag(lines, kItalicLine);
    style.bold = flag(lines, kBoldLine);
    style.textColour = flag(lines, kTextColourLine);
    if (style.textColour)
        style.colour = line(lines, kTextColourColourLine);
    else if (style.background)
        style.colour = line(lines, kBackgroundColourLine);
    settings.languageOffset = toInteger(line(lines, kLanguageLine));
    return settings;
}

SettingsFile::Lines SettingsFile::format(const Settings& settings)
{
    // "%f" without depending on the locale's decimal point.
    char rate[400];
    const auto end = std::to_chars(rate, rate + sizeof rate, settings.rate, std::chars_format::fixed, 6).ptr;
    const TextStyle& style = settings.style;
    Lines lines;
    const auto set = [&](Line number, std::string text) {
        lines[static_cast<std::size_t>(number - 1)] = std::move(text);
    };
    set(kVolumeLine, std::to_string(settings.volume));
    set(kRateLine, std::string(rate, end));
    set(kSkipFootnotesLine, flagText(settings.skipFootnotes));
    set(kSkipSidebarsLine, flagText(settings.skipSidebars));
    set(kSkipProdnotesLine, flagText(settings.skipProdnotes));
    set(kSkipPageNumbersLine, flagText(settings.skipPageNumbers));
    set(kAutoPlayLine, flagText(settings.autoPlay));
    set(kBackgroundLine, flagText(style.background));
    set(kBackgroundColourLine, style.colour);
    set(kItalicLine, flagText(style.italic));
    set(kBoldLine, flagText(style.bold));
    set(kTextColourLine, flagText(style.textColour));
    set(kTextColourColourLine, style.colour);
    set(kLanguageLine, std::to_string(settings.languageOffset));
    return lines;
}

bool SettingsFile::write(const Settings& settings) const
{
    return writeFileAtomically(m_path, scrambledLines(format(settings), m_scrambler));
}

}  // namespace korvin
