// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/booksession.h"
#include "app/services.h"
#include "app/windowstate.h"
#include "book/booktables.h"
#include "playback/playbackengine.h"
#include "ui/stringtable.h"

namespace korvin {

// Change volume (command 33009): moves from one disc of a book to the next.
// The chosen disc opens without a question when it is another volume of the
// same book (date, identifier, title, toc items and total time equal, set
// info different, letter case counting); otherwise the book-change message
// asks. Playback goes on at the heading that was playing, without the title
// cue. Cancelling the file choice, or Abort, returns through Last.
class VolumeChange {
public:
    struct Parts {
        WindowState& state;
        BookTables& tables;
        BookSession& session;
        PlaybackEngine& engine;
        const StringTable& strings;
    };

    VolumeChange(Parts parts, PlatformServices platform);

    void changeVolume();

    // Whether `chosen` is another volume of the book `current`.
    static bool isOtherVolume(const BookInfo& current, const BookInfo& chosen);
    // The folder the file choice starts in: the one above `bookPlace` (a
    // folder ending in "/", or a zip or package file); a root is taken as it is.
    static std::string folderAbove(const std::string& bookPlace);

private:
    void finish(const std::string& place, int heading);
    const std::string& text(int id) const;

    Parts m_parts;
    PlatformServices m_platform;
};

}  // namespace korvin
