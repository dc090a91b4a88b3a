// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "book/booktables.h"
#include "navigation/informationtexts.h"
#include "platform/mediaplayer.h"
#include "platform/menubar.h"
#include "platform/messagebox.h"
#include "playback/audiotime.h"
#include "ui/stringtable.h"

namespace korvin {

// The ten questions about the book and the title now loaded, each answered in
// an information message while the player is held (PauseBracket). "Title" is
// the audio file in the player; "book" the play times the book declares.
// Runs on the UI thread.
class Information {
public:
    struct Parts {
        const BookTables& tables;
        const BookInfo& bookInfo;
        const StringTable& strings;
        const int& languageOffset;
        // What the sleep timer has still to run; none: it is off.
        std::function<SleepTimerLeft()> sleepTimer;
    };
    struct Services {
        MediaPlayer& player;
        MessageBoxes& messageBoxes;
        MenuBar& menuBar;
    };

    Information(Parts parts, Services services)
        : m_parts(parts)
        , m_services(services)
    {
    }

    // Commands 32828, 32829, 32830, 32827, 32815.
    void bookTotalTime();
    void bookElapsedTime();
    void bookRemainingTime();
    void entries();
    void levels();
    // Commands 32850, 32832, 32849, 32824, 32825.
    void titleTotalTime();
    void titleElapsedTime();
    void titleRemainingTime();
    void headingIndex();
    void headingLevel();
    // Command "Wo bin ich?" (I): all of the heading's and the book's place in
    // one message (InformationTexts::whereAmI).
    void whereAmI();

    // Seconds of the book heard up to `position` in the player's file: the
    // time before the current heading, the clips of the heading's phrases
    // before the current phrase, and how far the player stands into the
    // current phrase's clip. The file's position alone says nothing about the
    // book when the heading's audio does not begin at the start of its file.
    double bookPosition(double position) const;

private:
    // Holds the player while `answer` builds the text (from the player's
    // position, 0 when its media had ended) and the message is shown.
    template <typename Answer>
    void answer(Answer answer);
    void show(const std::string& text);
    InformationTexts texts() const { return InformationTexts(m_parts.strings, m_parts.languageOffset); }
    // The current heading's audio up to `position` in the current phrase's
    // clip; nothing when the current phrase is not of the current heading.
    HeadingAudio headingAudioAt(double position) const;
    double bookTotal() const;
    double titleDuration() const;
    const std::string& currentHeadingCell(int column) const;

    Parts m_parts;
    Services m_services;
};

}  // namespace korvin
