// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/mediaplayer.h"

namespace korvin {

class MpvLibrary;

// The title cue on a libmpv instance of its own, so that it never disturbs the
// main player's file, position or state. playRange() blocks the calling thread
// until the range has been heard (the audio output drained), the file has
// ended, or the range's length plus a few seconds have passed; a file that
// cannot be opened returns at once. Failures are silent.
//
// Needs LC_NUMERIC "C" (see MpvHandle); no event loop is needed.
class MpvTitleCue final : public TitleCuePlayer {
public:
    static constexpr int kLongestCueMs = 10'000;
    // How long past the range's end playRange() waits before giving up.
    static constexpr int kSafetyMarginMs = 3'000;

    // `library` must outlive the cue; it is loaded at the first cue.
    explicit MpvTitleCue(const MpvLibrary& library)
        : m_library(library)
    {
    }

    void playRange(const std::string& path, int milliseconds) override;

private:
    const MpvLibrary& m_library;
};

}  // namespace korvin
