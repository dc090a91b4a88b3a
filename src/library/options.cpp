// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/options.h"

#include <optional>

#include "library/statefile.h"

namespace korvin {

namespace {

std::optional<bool> flag(const std::string& line)
{
    if (line == "1")
        return true;
    if (line == "0")
        return false;
    return std::nullopt;
}

}  // namespace

OptionsFile::OptionsFile(std::string path, const Scrambler& scrambler)
    : m_path(std::move(path))
    , m_scrambler(scrambler)
{
}

Options OptionsFile::read() const
{
    const auto lines = readTextLines(m_path);
    if (!lines || lines->size() < kLineCount)
        return {};
    const std::optional<bool> rewind = flag(m_scrambler.unscramble((*lines)[0]));
    const std::optional<bool> triple = flag(m_scrambler.unscramble((*lines)[1]));
    if (!rewind || !triple)
        return {};
    return Options{.rewindOnResume = *rewind, .upToTriple = *triple};
}

OptionsFile::Lines OptionsFile::format(const Options& options)
{
    return {options.rewindOnResume ? "1" : "0", options.upToTriple ? "1" : "0"};
}

bool OptionsFile::write(const Options& options) const
{
    return writeFileAtomically(m_path, scrambledLines(format(options), m_scrambler));
}

}  // namespace korvin
