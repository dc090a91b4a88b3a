// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "app/remotecontrol.h"
#include "app/watchedplayer.h"
#include "app/windowstate.h"
#include "book/booktables.h"
#include "playback/audiocontrols.h"
#include "playback/phraserows.h"

namespace korvin {

// The main window's side of a remote control: what it reports is read from the
// window's state, tables and player; what it is asked to do goes the way of the
// window's own commands, keys and heading tree. Runs on the UI thread.
class ControllerRemote final : public RemoteControl {
public:
    struct Parts {
        WindowState& state;
        BookTables& tables;
        AudioControls& audio;
        WatchedPlayer& player;
        // The window's command entry: a grayed command is not carried out.
        std::function<void(int command)> command;
    };

    // Marks the handling of one command, key, timer tick or remote call: the
    // listener hears of it when the outermost one ends.
    class Activity {
    public:
        explicit Activity(ControllerRemote& remote)
            : m_remote(remote)
        {
            ++m_remote.m_depth;
        }
        ~Activity();
        Activity(const Activity&) = delete;
        Activity& operator=(const Activity&) = delete;

    private:
        ControllerRemote& m_remote;
    };

    explicit ControllerRemote(Parts parts);

    NowPlaying nowPlaying() const override;
    double position() const override;
    unsigned jumps() const override { return m_parts.player.jumps(); }
    void act(Action action, Source source, std::int64_t atMs) override;
    void seekBy(double seconds) override;
    void seekTo(double seconds) override;
    void setRate(double rate) override;
    void setVolume(int volume) override;
    bool busy() const override { return m_depth > 0; }
    void setListener(std::function<void()> changed) override { m_listener = std::move(changed); }

private:
    // The phrase rows of the selected heading, when the current phrase is one
    // of them.
    struct Span {
        int first = 0;
        int last = 0;
        double length = 0.0;
    };
    std::optional<Span> currentSpan() const;
    bool isEcho(Action action, Source source, std::int64_t atMs);
    bool playing() const;
    void moveToHeading(int direction);
    void moveTo(const HeadingPlace& place);

    struct Press {
        Action action;
        Source source;
        std::int64_t atMs;
    };

    Parts m_parts;
    std::function<void()> m_listener;
    std::optional<Press> m_lastPress;
    int m_depth = 0;
};

}  // namespace korvin
