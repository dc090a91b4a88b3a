// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/optionchoices.h"

#include "ui/commandids.h"

namespace korvin {

OptionChoices::OptionChoices(Parts parts, MenuBar& menuBar, std::string path, const Scrambler& scrambler)
    : m_parts(parts)
    , m_menuBar(menuBar)
    , m_file(std::move(path), scrambler)
{
}

void OptionChoices::load()
{
    m_parts.options = m_file.read();
    if (!m_parts.options.upToTriple)
        m_parts.audio.keepToNormalRange();
    showChecks();
}

void OptionChoices::save() const
{
    m_file.write(m_parts.options);
}

void OptionChoices::toggle(int command)
{
    Options& options = m_parts.options;
    if (command == cmd::kRewindOnResume) {
        options.rewindOnResume = !options.rewindOnResume;
    } else if (command == cmd::kUpToTriple) {
        options.upToTriple = !options.upToTriple;
        if (!options.upToTriple)
            m_parts.audio.keepToNormalRange();
    }
    showChecks();
    save();
}

void OptionChoices::showChecks()
{
    m_parts.menu.setChecked(cmd::kRewindOnResume, m_parts.options.rewindOnResume);
    m_parts.menu.setChecked(cmd::kUpToTriple, m_parts.options.upToTriple);
    m_menuBar.redraw();
}

}  // namespace korvin
