// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/watchedplayer.h"

#include <cmath>

namespace korvin {

// The phrase start sets the position of every phrase that does not follow on
// by its text, also where the next clip begins a hair after the last one
// ended: a listener hears no jump there, and a remote control is told none.
void WatchedPlayer::setPosition(double seconds)
{
    if (!(std::abs(seconds - m_player.position()) <= kSameSpot))
        ++m_jumps;
    m_player.setPosition(seconds);
}

}  // namespace korvin
