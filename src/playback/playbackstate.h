// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace korvin {

// The playback state the main window holds for the whole run. The listener's
// choices that playback follows (automatic playback, rate, volume, the skips)
// are kept in Settings.
struct PlaybackState {
    bool bookOpen = false;
    std::string bookFolder;        // ends in "/"
    bool forceSeek = false;        // the next phrase start seeks even when it follows on
    double currentPhraseEnd = 0.0;
    std::string currentFragmentId; // `Dok-Fragment` of the current phrase
    bool startPage = false;        // the text view shows the program's start page
    // The share (percent) of the volume setting the player plays at: below 100
    // only while the sleep timer fades the book out. The volume setting stays
    // the listener's own meanwhile.
    int volumePercent = 100;

    // The phrase start's memory; it lives as long as the program, across books.
    std::string lastDocumentShown;
    std::string lastAudioLoaded;
    std::string previousPhraseEnd;
};

// The volume the player plays at: `percent` of the volume setting `volume`.
inline int fadedVolume(int volume, int percent)
{
    return percent >= 100 ? volume : volume * percent / 100;
}

}  // namespace korvin
