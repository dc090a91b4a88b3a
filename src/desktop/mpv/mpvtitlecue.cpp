// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/mpv/mpvtitlecue.h"

#include "desktop/mpv/mpvhandle.h"
#include "desktop/mpv/mpvlibrary.h"

#include <mpv/client.h>

#include <algorithm>
#include <chrono>
#include <cstdint>

namespace korvin {

namespace {

// The instance lives for one cue: nothing of it is kept between books, and an
// audio device it held is released when the cue ends.
const MpvHandle::Options kCueOptions = {
    {"keep-open", "no"},
    {"pause", "no"},
};

constexpr std::uint64_t kLoadReply = 1;

}  // namespace

void MpvTitleCue::playRange(const std::string& path, int milliseconds)
{
    if (path.empty() || milliseconds <= 0)
        return;
    milliseconds = std::min(milliseconds, kLongestCueMs);
    const MpvHandle mpv = MpvHandle::create(m_library, kCueOptions);
    if (!mpv)
        return;

    const std::string file = MpvHandle::fileArgument(path);
    const std::string options = "start=0,end=" + MpvHandle::formatSeconds(milliseconds / 1000.0);
    const char* command[] = {"loadfile", file.c_str(), "replace", options.c_str(), nullptr};
    if (mpv.api().commandAsync(mpv.get(), kLoadReply, command) < 0)
        return;

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds + kSafetyMarginMs);
    std::int64_t entryId = -1;
    for (;;) {
        const auto left = std::chrono::duration<double>(deadline - Clock::now()).count();
        if (left <= 0)
            return;
        const mpv_event* event = mpv.api().waitEvent(mpv.get(), left);
        switch (event->event_id) {
        case MPV_EVENT_COMMAND_REPLY:
            if (event->reply_userdata != kLoadReply)
                break;
            if (event->error >= 0)
                entryId = MpvHandle::loadedEntryId(static_cast<const mpv_event_command*>(event->data)->result);
            if (entryId < 0)
                return;
            break;
        case MPV_EVENT_END_FILE:
            // Played to the end of the range or the file, or failed to open.
            if (static_cast<const mpv_event_end_file*>(event->data)->playlist_entry_id == entryId)
                return;
            break;
        case MPV_EVENT_SHUTDOWN:
            return;
        default:
            break;
        }
    }
}

}  // namespace korvin
