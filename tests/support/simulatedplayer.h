// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/mediaplayer.h"
#include "support/virtualclock.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace korvin::test {

// A media player on a virtual clock, for tests of the code that drives the
// player. It behaves as the libmpv player does, only without sound:
//  * Files are scripted by path with a duration (addFile) or as corrupt
//    (addCorruptFile); any other path is missing.
//  * setUrl() starts a load that finishes on the clock after the load delay
//    (0 by default: at the next advance(), even advance(0)). Until then
//    openState() is 12, position() is the target set by setPosition(), and
//    playState() is kPlaying after play(), kPaused otherwise.
//  * A missing or corrupt file fails when its load finishes: the error count goes
//    up and the error handler is called from the clock, never inside setUrl().
//  * While playing, the position grows by (elapsed virtual time x rate). At the
//    duration the player ends (play state 8, media ended) with the position at
//    the duration; it stays so through pause() until play() or setPosition(),
//    after which it is stopped (1) until play(), which plays on from the
//    position (at the duration: ended again at once).
//  * A freshly opened file is paused (2); no file open reads 0 for the play and
//    open states, the position and the duration.
//  * setPosition() clamps to [0, duration] and keeps the play state; volume
//    clamps to 0..100; a rate that is not a positive number is ignored, others
//    are held to 0.01..100.
// Every call that changes something is written to log() ("setUrl /a.mp3",
// "setPosition 12.5", "play", "pause", "setRate 1.2", "setVolume 50",
// "clearErrors"), numbers in their shortest form.
//
// The clock must outlive the player; loads still queued when it goes are dropped.
class SimulatedPlayer final : public MediaPlayer {
public:
    explicit SimulatedPlayer(VirtualClock& clock);

    void addFile(const std::string& path, double seconds);
    void addCorruptFile(const std::string& path);
    void removeFile(const std::string& path);
    void setLoadDelay(std::int64_t ms) { m_loadDelay = ms; }
    // The play state of a file played to its end: kMediaEnded as libmpv's
    // player reports it (the default), or kStopped as other players do.
    void setEndedState(int state) { m_endedState = state; }
    // Raises a player error (count + handler) from the clock at the next advance.
    void raiseError();

    const std::vector<std::string>& log() const { return m_log; }
    void clearLog() { m_log.clear(); }

    void setUrl(const std::string& path) override;
    std::string url() const override { return m_url; }
    int openState() const override;
    int playState() const override;

    void play() override;
    void pause() override;

    double position() const override;
    void setPosition(double seconds) override;

    double rate() const override { return m_rate; }
    void setRate(double rate) override;

    int volume() const override { return m_volume; }
    void setVolume(int volume) override;

    double duration() const override { return m_load == Load::Open ? m_duration : 0; }

    int errorCount() const override { return m_errorCount; }
    void clearErrors() override;
    void setErrorHandler(std::function<void()> handler) override { m_errorHandler = std::move(handler); }

private:
    enum class Load { None, Loading, Open, Failed };
    struct File {
        double seconds = 0;
        bool corrupt = false;
    };

    void finishLoad(unsigned generation);
    void reportError();
    bool running() const { return m_load == Load::Open && m_wantPlaying && !m_stoppedAtEnd; }
    double livePosition() const;
    // Turns the time played since the last change into position (and a stop at
    // the end) before a change.
    void settle();
    void note(const std::string& call);
    void note(const std::string& call, double value);

    VirtualClock& m_clock;
    std::map<std::string, File> m_files;
    std::int64_t m_loadDelay = 0;
    std::vector<std::string> m_log;

    std::function<void()> m_errorHandler;
    int m_errorCount = 0;
    double m_rate = 1.0;
    int m_volume = 100;
    int m_endedState = kMediaEnded;

    std::string m_url;
    Load m_load = Load::None;
    unsigned m_loadGeneration = 0;
    double m_duration = 0;
    double m_position = 0;       // target while loading; position at m_since when open
    std::int64_t m_since = 0;
    bool m_wantPlaying = false;
    bool m_stoppedAtEnd = false;
    bool m_movedFromEnd = false;  // stopped, and moved away from the end by a seek

    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

}  // namespace korvin::test
