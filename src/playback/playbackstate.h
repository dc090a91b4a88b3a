#pragma once

#include <string>

namespace korvin {

// The playback state the main window holds for the whole run.
struct PlaybackState {
    bool bookOpen = false;
    std::string bookFolder;        // ends in "/"
    bool forceSeek = false;        // the next phrase start seeks even when it follows on
    bool autoPlay = false;         // mirrors the check of "Autom. Wiedergabe"
    bool skipFootnotes = false;
    bool skipSidebars = false;
    bool skipProdnotes = false;
    bool skipPageNumbers = false;
    double rate = 1.0;             // re-applied to the player at every seek
    int volume = 50;               // re-applied at every seek; follows the player while playing
    double currentPhraseEnd = 0.0;
    std::string currentFragmentId; // `Dok-Fragment` of the current phrase
    bool startPage = false;        // the text view shows the program's start page

    // The phrase start's memory; it lives as long as the program, across books.
    std::string lastDocumentShown;
    std::string lastAudioLoaded;
    std::string previousPhraseEnd;
};

}  // namespace korvin
