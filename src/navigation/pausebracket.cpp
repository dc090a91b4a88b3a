// SPDX-License-Identifier: GPL-3.0-or-later
#include "navigation/pausebracket.h"

namespace korvin {

PauseBracket::PauseBracket(MediaPlayer& player, MenuBar& menuBar)
    : m_player(player)
    , m_menuBar(menuBar)
{
    if (m_player.playState() != MediaPlayer::kMediaEnded)
        m_player.pause();
}

PauseBracket::~PauseBracket()
{
    if (m_player.playState() == MediaPlayer::kPaused)
        m_player.play();
    m_menuBar.redraw();
}

}  // namespace korvin
