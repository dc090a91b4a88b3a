// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/mpv/mpvplayer.h"

#include <mpv/client.h>

#include "desktop/mpv/mpvlibrary.h"

#include <QMetaObject>

#include <algorithm>
#include <cmath>
#include <vector>

namespace korvin {

namespace {

// The file stays open at its end (paused there) instead of being unloaded, so
// that the end reads as "media ended" and play() can go on from where it is.
const MpvHandle::Options kPlayerOptions = {
    {"keep-open", "always"},
    {"keep-open-pause", "yes"},
    {"pause", "yes"},
};

constexpr double kMinRate = 0.01;  // libmpv's own range of "speed"
constexpr double kMaxRate = 100.0;
constexpr auto kSettleTimeout = std::chrono::seconds(3);
// A seek past the length that libmpv reports and that ends this much short of
// its target has met the end of the file. (Standing after a seek, libmpv's own
// position can be off by the audio it buffered: a bound well above that.)
constexpr double kEndSlack = 0.5;

}  // namespace

MpvPlayer::MpvPlayer(const MpvLibrary& library)
    : m_library(library)
{
}

MpvPlayer::~MpvPlayer()
{
    // After this returns libmpv calls no more; the handle is destroyed next, and
    // wake-ups already posted die with m_eventContext.
    if (m_mpv)
        m_mpv.api().setWakeupCallback(m_mpv.get(), nullptr, nullptr);
}

bool MpvPlayer::start()
{
    if (m_started)
        return static_cast<bool>(m_mpv);
    m_started = true;
    m_mpv = MpvHandle::create(m_library, kPlayerOptions);
    if (!m_mpv)
        return false;
    // What was set meanwhile is handed over; the rest is what libmpv starts
    // with (the environment may have set it).
    if (m_rateSet)
        m_mpv.api().setProperty(m_mpv.get(), "speed", MPV_FORMAT_DOUBLE, &m_rate);
    else
        m_rate = liveDouble("speed", m_rate);
    if (m_volumeSet) {
        double value = m_volume;
        m_mpv.api().setProperty(m_mpv.get(), "volume", MPV_FORMAT_DOUBLE, &value);
    } else {
        m_volume = std::clamp(static_cast<int>(std::lround(liveDouble("volume", m_volume))), 0, 100);
    }
    m_mpv.api().setWakeupCallback(m_mpv.get(), &MpvPlayer::onWakeup, this);
    return true;
}

void MpvPlayer::onWakeup(void* self)
{
    // Runs on one of libmpv's threads: hand over to the UI thread, nothing else.
    auto* player = static_cast<MpvPlayer*>(self);
    if (player->m_drainPosted.exchange(true))
        return;
    QMetaObject::invokeMethod(
        &player->m_eventContext, [player] { player->drainEvents(); }, Qt::QueuedConnection);
}

void MpvPlayer::drainEvents()
{
    m_drainPosted = false;
    if (!m_mpv)
        return;
    for (;;) {
        const mpv_event* event = m_mpv.api().waitEvent(m_mpv.get(), 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        handleEvent(*event);
    }
}

void MpvPlayer::handleEvent(const mpv_event& event)
{
    switch (event.event_id) {
    case MPV_EVENT_COMMAND_REPLY:
        if (event.reply_userdata == 0)
            break;
        if (m_load == Load::Loading && event.reply_userdata == m_loadRequestId) {
            if (event.error < 0) {
                failLoad();
                break;
            }
            const auto* reply = static_cast<const mpv_event_command*>(event.data);
            m_entryId = MpvHandle::loadedEntryId(reply->result);
        } else if (m_seek == Seek::Issued && event.reply_userdata == m_lastSeekId) {
            // A refused seek leaves the position where libmpv has it: stop
            // reporting the target.
            if (event.error < 0) {
                m_seek = Seek::None;
                m_holding = false;
            } else {
                m_seek = Seek::Queued;
            }
        }
        break;
    case MPV_EVENT_SET_PROPERTY_REPLY:
        // libmpv plays again: its position is the one to report from now on.
        if (m_releaseId != 0 && event.reply_userdata == m_releaseId) {
            m_releaseId = 0;
            m_holding = false;
        }
        break;
    case MPV_EVENT_START_FILE:
        m_eventEntryId = static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id;
        break;
    case MPV_EVENT_FILE_LOADED:
        if (m_load == Load::Loading && m_entryId >= 0 && m_eventEntryId == m_entryId)
            finishLoad();
        break;
    case MPV_EVENT_END_FILE: {
        const auto* end = static_cast<const mpv_event_end_file*>(event.data);
        if (end->playlist_entry_id != m_entryId || (m_load != Load::Loading && m_load != Load::Open))
            break;
        // A redirect means the "audio" file was a playlist or a folder: never
        // play what it points to.
        if (end->reason == MPV_END_FILE_REASON_ERROR || end->reason == MPV_END_FILE_REASON_REDIRECT)
            failLoad();
        else
            resetFileState(Load::None);
        break;
    }
    case MPV_EVENT_SEEK:
        if (m_seek == Seek::Queued)
            m_seek = Seek::Running;
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        m_awaitingRestart = false;
        if (m_seek == Seek::Running)
            m_seek = Seek::None;
        // Seeks are not cut to the length, which libmpv may only have estimated
        // (a VBR MP3 without its header): a target past the real end lands at
        // the end, and that is where the player stands.
        if (m_holding && m_target > duration()) {
            const double landed = liveDouble("time-pos", m_target);
            if (landed + kEndSlack < m_target)
                m_target = landed;
        }
        break;
    default:
        break;
    }
}

void MpvPlayer::resetFileState(Load load)
{
    m_load = load;
    m_entryId = -1;
    m_loadRequestId = 0;
    m_seekAfterLoad = false;
    m_awaitingRestart = false;
    m_seek = Seek::None;
    m_target = 0;
    m_holding = false;
    m_releaseId = 0;
    m_wantPlaying = false;
    m_stoppedAtEnd = false;
    m_movedFromEnd = false;
}

void MpvPlayer::setUrl(const std::string& path)
{
    const bool wasActive = m_load == Load::Loading || m_load == Load::Open;
    m_url = path;
    if (path.empty()) {
        resetFileState(Load::None);
        if (m_mpv && wasActive)
            sendCommand({"stop"});
        return;
    }
    if (!start()) {
        resetFileState(Load::Failed);
        QMetaObject::invokeMethod(
            &m_eventContext, [this] { reportError(); }, Qt::QueuedConnection);
        return;
    }
    resetFileState(Load::Scheduled);
    // Silence the old file at once; the new one starts from the event loop.
    if (wasActive)
        sendPause(true);
    QMetaObject::invokeMethod(
        &m_eventContext, [this] { startLoad(); }, Qt::QueuedConnection);
}

void MpvPlayer::startLoad()
{
    if (m_load != Load::Scheduled)
        return;
    m_load = Load::Loading;
    m_loadStart = m_target;
    m_loadRequestId = ++m_lastRequestId;
    // The pause state is libmpv's own, not the file's: set it before the load so
    // that the file starts (or waits) as asked, from the start position asked.
    sendPause(!m_wantPlaying);
    const std::string file = MpvHandle::fileArgument(m_url);
    const std::string options = "start=" + MpvHandle::formatSeconds(m_loadStart);
    const char* command[] = {"loadfile", file.c_str(), "replace", options.c_str(), nullptr};
    if (m_mpv.api().commandAsync(m_mpv.get(), m_loadRequestId, command) < 0)
        failLoad();
}

void MpvPlayer::finishLoad()
{
    m_load = Load::Open;
    m_holding = !m_wantPlaying;
    if (m_seekAfterLoad) {
        m_seekAfterLoad = false;
        issueSeek(m_target);
    } else {
        m_awaitingRestart = true;
        m_settleStart = std::chrono::steady_clock::now();
    }
    sendPause(!m_wantPlaying);
}

void MpvPlayer::failLoad()
{
    const bool stop = m_load == Load::Loading || m_load == Load::Open;
    resetFileState(Load::Failed);
    if (stop && m_mpv)
        sendCommand({"stop"});
    reportError();
}

void MpvPlayer::reportError()
{
    ++m_errorCount;
    if (m_errorHandler)
        m_errorHandler();
}

void MpvPlayer::sendCommand(std::initializer_list<const char*> words)
{
    std::vector<const char*> command(words);
    command.push_back(nullptr);
    m_mpv.api().commandAsync(m_mpv.get(), 0, command.data());
}

void MpvPlayer::sendPause(bool paused, std::uint64_t replyId)
{
    // Asynchronous like loads and seeks, so that libmpv applies them in the order
    // given (a synchronous call could overtake a queued seek).
    int flag = paused ? 1 : 0;
    m_mpv.api().setPropertyAsync(m_mpv.get(), replyId, "pause", MPV_FORMAT_FLAG, &flag);
}

void MpvPlayer::issueSeek(double seconds)
{
    m_settleStart = std::chrono::steady_clock::now();
    m_lastSeekId = ++m_lastRequestId;
    m_seek = Seek::Issued;
    const std::string target = MpvHandle::formatSeconds(seconds);
    const char* command[] = {"seek", target.c_str(), "absolute+exact", nullptr};
    if (m_mpv.api().commandAsync(m_mpv.get(), m_lastSeekId, command) < 0)
        m_seek = Seek::None;
}

bool MpvPlayer::isSettling() const
{
    switch (m_load) {
    case Load::Scheduled:
    case Load::Loading:
        return true;
    case Load::Open:
        // Should libmpv never report the end of a seek (a file that breaks off),
        // its own figures are reported after a while rather than a frozen target.
        return (m_seek != Seek::None || m_awaitingRestart) &&
               std::chrono::steady_clock::now() - m_settleStart < kSettleTimeout;
    default:
        return false;
    }
}

int MpvPlayer::openState() const
{
    switch (m_load) {
    case Load::Scheduled:
    case Load::Loading:
        return kOpenStateOpening;
    case Load::Open:
        return kOpenStateMediaOpen;
    default:
        return kOpenStateClosed;
    }
}

bool MpvPlayer::endOfFileReached() const
{
    int flag = 0;
    if (!m_mpv || m_mpv.api().getProperty(m_mpv.get(), "eof-reached", MPV_FORMAT_FLAG, &flag) < 0)
        return false;
    return flag != 0;
}

int MpvPlayer::playState() const
{
    if (m_load != Load::Scheduled && m_load != Load::Loading && m_load != Load::Open)
        return kUndefined;
    if (m_stoppedAtEnd)
        return m_movedFromEnd ? kStopped : kMediaEnded;
    if (!m_wantPlaying)
        return kPaused;
    // libmpv's end flag is only trusted once it has reached the position asked for.
    if (!isSettling() && endOfFileReached())
        return kMediaEnded;
    return kPlaying;
}

void MpvPlayer::latchEndOfFile()
{
    if (m_load == Load::Open && m_wantPlaying && !isSettling() && endOfFileReached()) {
        m_stoppedAtEnd = true;
        m_wantPlaying = false;
    }
}

void MpvPlayer::play()
{
    switch (m_load) {
    case Load::Scheduled:
        m_wantPlaying = true;
        m_stoppedAtEnd = false;
        m_movedFromEnd = false;
        break;
    case Load::Loading:
        m_wantPlaying = true;
        // With a seek still to come after the load, start only after it.
        if (!m_seekAfterLoad)
            sendPause(false);
        break;
    case Load::Open:
        m_wantPlaying = true;
        m_stoppedAtEnd = false;
        m_movedFromEnd = false;
        if (m_holding) {
            // Keep reporting the held position until libmpv has taken the play.
            m_releaseId = ++m_lastRequestId;
            sendPause(false, m_releaseId);
        } else {
            sendPause(false);
        }
        break;
    default:
        break;
    }
}

void MpvPlayer::pause()
{
    latchEndOfFile();
    if (m_stoppedAtEnd)
        return;
    switch (m_load) {
    case Load::Scheduled:
        m_wantPlaying = false;
        break;
    case Load::Loading:
    case Load::Open:
        m_wantPlaying = false;
        m_releaseId = 0;  // a play not yet taken stays held
        sendPause(true);
        break;
    default:
        break;
    }
}

double MpvPlayer::liveDouble(const char* property, double fallback) const
{
    double value = 0;
    if (!m_mpv || m_mpv.api().getProperty(m_mpv.get(), property, MPV_FORMAT_DOUBLE, &value) < 0 ||
        !std::isfinite(value))
        return fallback;
    return value;
}

double MpvPlayer::position() const
{
    switch (m_load) {
    case Load::Scheduled:
    case Load::Loading:
        return m_target;
    case Load::Open:
        if (isSettling() || m_holding)
            return m_target;
        return std::max(0.0, liveDouble("time-pos", m_target));
    default:
        return 0;
    }
}

void MpvPlayer::setPosition(double seconds)
{
    if (std::isnan(seconds))
        return;
    seconds = std::max(0.0, seconds);
    switch (m_load) {
    case Load::Scheduled:
        m_target = seconds;
        break;
    case Load::Loading:
        m_target = seconds;
        if (seconds != m_loadStart) {
            // The load already started at another place: hold the sound until
            // the seek after the load has landed.
            m_seekAfterLoad = true;
            sendPause(true);
        }
        break;
    case Load::Open: {
        latchEndOfFile();
        m_movedFromEnd = m_stoppedAtEnd;
        m_target = seconds;
        m_holding = !m_wantPlaying || m_stoppedAtEnd;
        m_releaseId = 0;
        issueSeek(m_target);
        break;
    }
    default:
        break;
    }
}

// Rate and volume are only ever changed through this class, so the values set
// are the answer; the poll reads the volume every 100 ms and need not wait for
// libmpv's core for it.
double MpvPlayer::rate() const
{
    return m_rate;
}

void MpvPlayer::setRate(double rate)
{
    if (!std::isfinite(rate) || rate <= 0)
        return;
    rate = std::clamp(rate, kMinRate, kMaxRate);
    m_rateSet = true;
    // The engine hands over the same rate and volume at every seek; libmpv's core
    // is only bothered when they change.
    if (rate == m_rate)
        return;
    m_rate = rate;
    if (m_mpv)
        m_mpv.api().setProperty(m_mpv.get(), "speed", MPV_FORMAT_DOUBLE, &m_rate);
}

int MpvPlayer::volume() const
{
    return m_volume;
}

void MpvPlayer::setVolume(int volume)
{
    volume = std::clamp(volume, 0, 100);
    m_volumeSet = true;
    if (volume == m_volume)
        return;
    m_volume = volume;
    double value = m_volume;
    if (m_mpv)
        m_mpv.api().setProperty(m_mpv.get(), "volume", MPV_FORMAT_DOUBLE, &value);
}

double MpvPlayer::duration() const
{
    if (m_load != Load::Open)
        return 0;
    return std::max(0.0, liveDouble("duration", 0));
}

}  // namespace korvin
