// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/mpv/mpvhandle.h"
#include "platform/mediaplayer.h"

#include <QObject>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

struct mpv_event;

namespace korvin {

class MpvLibrary;

// The media player on one libmpv instance (see MpvHandle for its set-up).
//
// Thread: create, call and destroy it on the UI thread, inside a running
// QCoreApplication. libmpv's own threads only post a wake-up to the UI thread;
// its events are read there, so the error handler runs on the UI thread, from the
// event loop, never inside a call of this class.
//
// Loading is asynchronous. setUrl() only remembers the file; the load starts when
// control returns to the event loop, with the position and play state asked for
// by then (so setUrl(); setPosition(); play(); opens the file right there and
// starts it). Until libmpv has the file open and has reached that position, the
// player reports what was asked for: openState() is 12 (opening), position() is
// the target, playState() is kPlaying after play() and kPaused otherwise. After a
// setPosition() on an open file, position() likewise reports the target until
// libmpv has finished the seek, and while the player stands (paused or stopped)
// after a load or seek, until play() has been taken. A position of the previous
// file, or from before a seek, is never reported. (Should libmpv not report a
// seek as done within 3 s, its own position is reported again.)
//
// Play states: 3 playing, 2 paused (also a freshly opened file not yet played),
// 8 media ended at the end of the file (through pause() until play() or
// setPosition()), 1 stopped after a seek away from that end (through further
// seeks and pauses until play(), which plays on from the current position), 0
// when no file is open (none set, unloaded, or failed to open).
//
// A file that is missing, holds no audio libmpv can read, or is a playlist or a
// folder (whose entries are never played) fails: the error count goes up and the
// error handler is called, and the player has no file open. Seeks are exact
// (libmpv's hr-seek); in an MP3 without a seek table the first seek far into the
// file reads up to that point once. A seek is not cut to duration(), which for
// such a file is only libmpv's estimate and can be far too short; a target past
// the real end leaves the player at the end.
//
// libmpv starts with the first file set (loading `library` if it is not yet
// loaded), not with the player: the window need not wait for it. Until then
// rate() and volume() report what was set, or libmpv's own start values (1.0
// and 100); values set are handed to libmpv when it starts, and what was not
// set is taken from libmpv then (the environment may have changed it).
class MpvPlayer final : public MediaPlayer {
public:
    // `library` must outlive the player.
    explicit MpvPlayer(const MpvLibrary& library);
    ~MpvPlayer() override;
    MpvPlayer(const MpvPlayer&) = delete;
    MpvPlayer& operator=(const MpvPlayer&) = delete;

    // Starts libmpv unless it has started; false when it cannot be started.
    // Such a player plays nothing and answers every setUrl() with an error.
    bool isAvailable() { return start(); }

    // True while a load or a seek asked for has not yet been reached by libmpv
    // (position() and playState() then report what was asked for).
    bool isSettling() const;

    void setUrl(const std::string& path) override;
    std::string url() const override { return m_url; }
    int openState() const override;
    int playState() const override;

    void play() override;
    void pause() override;

    double position() const override;
    void setPosition(double seconds) override;

    double rate() const override;  // as set; libmpv takes 0.01..100
    void setRate(double rate) override;

    int volume() const override;
    void setVolume(int volume) override;

    double duration() const override;

    int errorCount() const override { return m_errorCount; }
    void clearErrors() override { m_errorCount = 0; }
    void setErrorHandler(std::function<void()> handler) override { m_errorHandler = std::move(handler); }

private:
    enum class Load { None, Scheduled, Loading, Open, Failed };
    // A seek is sent (Issued), accepted by libmpv (Queued), carried out (Running)
    // and finished when playback restarts.
    enum class Seek { None, Issued, Queued, Running };

    bool start();
    static void onWakeup(void* self);
    void drainEvents();
    void handleEvent(const mpv_event& event);
    void resetFileState(Load load);
    void startLoad();
    void finishLoad();
    void failLoad();
    void reportError();
    void sendCommand(std::initializer_list<const char*> words);
    void sendPause(bool paused, std::uint64_t replyId = 0);
    void issueSeek(double seconds);
    void latchEndOfFile();
    bool endOfFileReached() const;
    double liveDouble(const char* property, double fallback) const;

    const MpvLibrary& m_library;
    // Declared before the handle so that it outlives it: wake-ups are posted to it.
    QObject m_eventContext;
    MpvHandle m_mpv;
    bool m_started = false;
    std::atomic<bool> m_drainPosted{false};

    std::function<void()> m_errorHandler;
    int m_errorCount = 0;
    double m_rate = 1.0;
    int m_volume = 100;
    bool m_rateSet = false;
    bool m_volumeSet = false;

    std::string m_url;
    Load m_load = Load::None;
    std::uint64_t m_lastRequestId = 0;  // reply ids of asynchronous requests; 0 = no reply wanted
    std::uint64_t m_loadRequestId = 0;
    std::int64_t m_entryId = -1;        // libmpv's playlist entry of the file loading or open
    std::int64_t m_eventEntryId = -1;   // the entry the events now being read belong to
    double m_loadStart = 0;             // start position the load was sent with
    bool m_seekAfterLoad = false;       // the target moved after the load was sent
    bool m_awaitingRestart = false;     // open, but playback has not yet started at the target

    double m_target = 0;
    Seek m_seek = Seek::None;
    std::uint64_t m_lastSeekId = 0;

    // While the player stands (paused or stopped) after a load or a seek, the
    // position is the one asked for: libmpv's own figure can lag there by the
    // audio it has buffered ahead.
    bool m_holding = false;
    std::uint64_t m_releaseId = 0;  // the play request that ends the hold
    std::chrono::steady_clock::time_point m_settleStart;

    bool m_wantPlaying = false;
    bool m_stoppedAtEnd = false;  // played to the end; stands there or was moved by a seek
    bool m_movedFromEnd = false;  // ... moved by a seek
};

}  // namespace korvin
