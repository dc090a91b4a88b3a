// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include "book/booktables.h"
#include "library/settings.h"
#include "platform/htmlview.h"
#include "platform/mediaplayer.h"
#include "platform/menubar.h"
#include "platform/timers.h"
#include "playback/audiotime.h"
#include "playback/playbackstate.h"
#include "ui/menumodel.h"

namespace korvin {

// Turns the phrase table into sound. The current phrase is the phrase table's
// selected row: selecting a row (state kSelected alone) asks for it to be
// played, and the engine moves on by selecting the next row. A poll timer
// (id 2, 100 ms) compares the player's position with the phrase's end; a
// one-shot highlight timer (id 1, 50 ms) brings the text view up to date after
// each phrase start. Everything runs on the UI thread; selections nest.
//
// A heading ends when its last phrase has been heard, not when a file ends: the
// end of a file moves on to the heading's next phrase when there is one (books
// that keep each phrase in its own file); a heading whose file goes on with the
// next heading's audio ends at its last phrase's end; so does a heading whose
// remaining phrases are all skipped. Audio the player cannot open is passed over
// like a phrase without sound.
class PlaybackEngine {
public:
    static constexpr int kHighlightTimer = 1;
    static constexpr int kPollTimer = 2;
    static constexpr int kHighlightDelay = 50;
    static constexpr int kPollPeriod = 100;
    // The quiet the poll counts at most: far beyond any pause that matters.
    static constexpr int kMaxQuietPolls = 1 << 24;

    struct Services {
        MediaPlayer& player;
        TitleCuePlayer& titleCue;
        Timers& timers;
        HtmlView& textView;
        MenuBar& menuBar;
    };

    // `settings` gives the rate, volume, automatic playback and skips to follow
    // (the engine changes the volume and automatic playback in it); `resolvePath`
    // turns a book path into the one to open (a file that exists only in another
    // letter case); `highlight` runs the text view's marking and fragment
    // highlight for the highlight tick.
    PlaybackEngine(PlaybackState& state, Settings& settings, BookTables& tables, MenuModel& menu, Services services,
                   std::function<std::string(const std::string&)> resolvePath,
                   std::function<void()> highlight);

    // Reactions.
    void phraseStart();
    void pageJump();
    void pollTick();
    void highlightTick();
    void documentComplete(const std::string& url);
    // The menu bar's menus open (closed = false) or close (closed = true). The
    // command of a chosen item comes after the close.
    void menuPause(bool menuClosed);

    // Commands.
    void phraseForward();
    // Goes to the nearest earlier phrase of the heading that is played, not
    // passed over (skipped, or without sound).
    void phraseBack();
    void pauseContinue();
    void toggleAutoPlayback();

    // Used by the commands and by other parts of the window.
    void stepForward();
    void stepBack();
    void selectHeadingByIndex(int index);
    void titleCue();
    // A jump the listener asked for: to a page, a bookmark, a search hit, a
    // group, a link. Made before the jump selects its heading and kept until it
    // ends; while it lasts, the phrase start plays what it starts, also where the
    // player stood paused in the file that the phrase lies in (a phrase start
    // alone plays only when it loads a file or its phrase begins at 0).
    class Jump {
    public:
        explicit Jump(PlaybackEngine& engine);
        ~Jump();
        Jump(const Jump&) = delete;
        Jump& operator=(const Jump&) = delete;

        // Makes phrase `row` current and selects it, which starts it. The phrase
        // that was current when the jump began starts again; one that the jump's
        // heading selection has just started plays on untouched. `forceSeek`
        // sets the force-seek flag for that start only when there is one, so
        // that no seek is left over for the next phrase.
        void arriveAt(int row, bool forceSeek = false);

    private:
        PlaybackEngine& m_engine;
        bool m_outerJump;
        int m_rowBefore;
    };

    // Stops both timers (closing a book, exit).
    void stopTimers();
    // Closes the player's file; the next phrase start opens its file afresh.
    void unload();

    // Goes to `place` as a jump does (its heading selected first when it is
    // another one, its phrase started) and keeps the play state: a paused
    // book stays paused there.
    void moveTo(AudioPlace place);
    // Whether `row` is heard when played through: it has sound and is not skipped.
    bool isHeard(int row) const;
    // How long the player has not played, as the poll has seen it.
    long long quietMilliseconds() const { return m_quietPolls * static_cast<long long>(kPollPeriod); }
    // Called when pause/continue is about to continue the book (and when the
    // menu it was chosen from has just continued it), before it plays.
    void setContinueListener(std::function<void()> listener) { m_continuing = std::move(listener); }
    // Called when a heading has ended and the engine has moved on (to the next
    // heading, or back to the heading's start, paused).
    void setHeadingEndListener(std::function<void()> listener) { m_headingEnded = std::move(listener); }

private:
    void startCurrentPhrase();
    void step(int direction);
    void followPages(int row);
    bool skipped(const std::string& skipClass) const;
    bool skippedRow(int row) const;
    bool passedOver(int row) const;
    void markBookChange(const std::string& skipClass);
    void play();

    // The poll's reactions.
    void phraseEnded();
    void fileEnded();
    void audioUnplayable();
    bool audioFailed() const;
    void endHeading();
    void nextHeading();
    void backToHeadingStart();
    void restartHeading();
    void selectAfresh(int row);
    void continuing();
    int playerVolume() const { return fadedVolume(m_settings.volume, m_state.volumePercent); }
    std::string bookPath(const std::string& name) const;

    PlaybackState& m_state;
    Settings& m_settings;
    BookTables& m_tables;
    MenuModel& m_menu;
    Services m_services;
    std::function<std::string(const std::string&)> m_resolvePath;
    std::function<void()> m_highlight;
    std::function<void()> m_continuing;
    std::function<void()> m_headingEnded;
    // Poll ticks since the player last played.
    int m_quietPolls = 0;
    bool m_starting = false;
    bool m_restart = false;
    bool m_jumping = false;
    // The player stands stopped at a file's end that has been dealt with (the
    // heading went back to its start); only a new play makes a stop count again.
    bool m_stopHandled = false;
    // Whether the poll has seen the player play since the book last started again.
    bool m_heardSinceStart = false;
    // The menu pause: whether the player played when a menu opened, and whether
    // closing the menu has just played it (the chosen command comes next).
    bool m_menuOpen = false;
    bool m_playingBeforeMenu = false;
    bool m_resumedByMenu = false;
};

}  // namespace korvin
