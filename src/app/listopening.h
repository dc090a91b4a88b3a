// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/booksession.h"
#include "app/services.h"
#include "app/windowstate.h"
#include "library/scrambler.h"
#include "ui/stringtable.h"

namespace korvin {

// Open from list (command 33012): closes the open book, lets the listener
// choose a drive and then a book found on it, and opens that book where the
// listener left it, without the title cue.
class ListOpening {
public:
    struct Parts {
        WindowState& state;
        BookSession& session;
        const StringTable& strings;
        const Scrambler& scrambler;
    };

    ListOpening(Parts parts, PlatformServices platform, Folders folders);

    void openFromList();

private:
    const std::string& text(int id) const;

    Parts m_parts;
    PlatformServices m_platform;
    Folders m_folders;
};

}  // namespace korvin
