// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/mediaplayer.h"

namespace korvin {

// The player as the main window's parts use it, passed through to the real
// one, counting the jumps made on it: a position set that moves it, so that a
// remote control can be told the position no longer follows from playing.
class WatchedPlayer final : public MediaPlayer {
public:
    // A position set closer than this to where the player stands follows on.
    static constexpr double kSameSpot = 0.25;

    // `player` must outlive this one.
    explicit WatchedPlayer(MediaPlayer& player)
        : m_player(player)
    {
    }

    unsigned jumps() const { return m_jumps; }

    void setUrl(const std::string& path) override { m_player.setUrl(path); }
    std::string url() const override { return m_player.url(); }
    int openState() const override { return m_player.openState(); }
    int playState() const override { return m_player.playState(); }
    void play() override { m_player.play(); }
    void pause() override { m_player.pause(); }
    double position() const override { return m_player.position(); }
    void setPosition(double seconds) override;
    double rate() const override { return m_player.rate(); }
    void setRate(double rate) override { m_player.setRate(rate); }
    int volume() const override { return m_player.volume(); }
    void setVolume(int volume) override { m_player.setVolume(volume); }
    double duration() const override { return m_player.duration(); }
    int errorCount() const override { return m_player.errorCount(); }
    void clearErrors() override { m_player.clearErrors(); }
    void setErrorHandler(std::function<void()> handler) override { m_player.setErrorHandler(std::move(handler)); }

private:
    MediaPlayer& m_player;
    unsigned m_jumps = 0;
};

}  // namespace korvin
