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

}  // namespace

bool SettingsLines::flag(int lineNumber) const
{
    return toInteger(line(lineNumber)) == 1;
}

int SettingsLines::volume() const
{
    if (!isNumber(line(1)))
        return Settings::kDefaultVolume;
    const int volume = toInteger(line(1));
    return volume < 0 ? 0 : volume > 100 ? 100 : volume;
}

double SettingsLines::rate() const
{
    const double rate = toReal(line(2));
    if (!std::isfinite(rate) || rate < 0.5 || rate > 3.0)
        return Settings::kDefaultRate;
    return rate;
}

int SettingsLines::language() const
{
    return toInteger(line(14));
}

SettingsFile::SettingsFile(std::string path, const Scrambler& scrambler)
    : m_path(std::move(path))
    , m_scrambler(scrambler)
{
}

std::optional<SettingsLines> SettingsFile::read() const
{
    const auto fileLines = readTextLines(m_path);
    if (!fileLines)
        return std::nullopt;
    SettingsLines settings;
    for (std::size_t i = 0; i < settings.lines.size() && i < fileLines->size(); ++i)
        settings.lines[i] = m_scrambler.unscramble((*fileLines)[i]);
    return settings;
}

std::array<std::string, SettingsLines::kCount> SettingsFile::format(const Settings& settings)
{
    // "%f" without depending on the locale's decimal point.
    char rate[400];
    const auto end = std::to_chars(rate, rate + sizeof rate, settings.rate, std::chars_format::fixed, 6).ptr;
    return {std::to_string(settings.volume),
            std::string(rate, end),
            flagText(settings.skipFootnotes),
            flagText(settings.skipSidebars),
            flagText(settings.skipProdnotes),
            flagText(settings.skipPageNumbers),
            flagText(settings.autoPlay),
            flagText(settings.background),
            settings.colour,
            flagText(settings.italic),
            flagText(settings.bold),
            flagText(settings.textColour),
            settings.colour,
            std::to_string(settings.languageOffset)};
}

bool SettingsFile::write(const Settings& settings) const
{
    std::string contents;
    const auto lines = format(settings);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        contents += m_scrambler.scramble(lines[i]);
        if (i + 1 < lines.size())
            contents += '\n';
    }
    return writeFileAtomically(m_path, contents);
}

}  // namespace korvin
