// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include "book/booktables.h"
#include "library/resumefile.h"
#include "platform/htmlview.h"
#include "platform/mediaplayer.h"
#include "platform/menubar.h"
#include "playback/playbackengine.h"
#include "playback/playbackstate.h"
#include "playback/resumerewind.h"
#include "ui/menumodel.h"

namespace korvin {

// The automatic resume position: where the listener left each book, kept in
// `AResume.dl` and found again by the book's information, not by its folder.
class ResumePosition {
public:
    struct Services {
        MediaPlayer& player;
        HtmlView& textView;
        MenuBar& menuBar;
    };

    // `resolvePath` turns a book path into the one to open (as the engine's);
    // `rewind` says where a book resumes from the place saved.
    ResumePosition(PlaybackState& state, BookTables& tables, MenuModel& menu, PlaybackEngine& engine, Services services,
                   ResumeFile file, std::function<std::string(const std::string&)> resolvePath,
                   const ResumeRewind& rewind);

    // Pauses the player and records the current phrase row, its heading and the
    // player's position for `book`. Call when the book is left, after the
    // timers have been stopped and the book-open flag cleared. A state file
    // that cannot be read or written is left as it was, silently.
    void save(const BookInfo& book);

    // Selects the saved heading and phrase row and plays from the saved
    // position, so the listener hears the exact point left (5 s before it,
    // within its heading, with "Beim Fortsetzen zurückspulen"). Without a record,
    // or with one that does not fit the book (its row is not a phrase of its
    // heading), the book plays from its beginning. Call after the bookmarks
    // have been loaded and the title cue played.
    void restore(const BookInfo& book);

private:
    void showDocument(int row);
    void startRow(int row);
    void playFromBeginning();

    PlaybackState& m_state;
    BookTables& m_tables;
    MenuModel& m_menu;
    PlaybackEngine& m_engine;
    Services m_services;
    ResumeFile m_file;
    std::function<std::string(const std::string&)> m_resolvePath;
    const ResumeRewind& m_rewind;
};

}  // namespace korvin
