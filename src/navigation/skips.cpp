// SPDX-License-Identifier: GPL-3.0-or-later
#include "navigation/skips.h"

#include "ui/commandids.h"

namespace korvin {

bool* Skips::flagOf(int command)
{
    switch (command) {
    case cmd::kSkipFootnotes:
        return &m_settings.skipFootnotes;
    case cmd::kSkipSidebars:
        return &m_settings.skipSidebars;
    case cmd::kSkipProdnotes:
        return &m_settings.skipProdnotes;
    case cmd::kSkipPageNumbers:
        return &m_settings.skipPageNumbers;
    default:
        return nullptr;
    }
}

void Skips::toggle(int command)
{
    bool* flag = flagOf(command);
    if (!flag)
        return;
    // The check mark decides, so that flag and mark cannot drift apart.
    const bool on = !m_menu.isChecked(command);
    m_menu.setChecked(command, on);
    *flag = on;
    m_menuBar.redraw();
}

}  // namespace korvin
