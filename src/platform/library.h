// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace korvin {

// A place the listener keeps books: the home folder or a mounted volume.
struct Drive {
    std::string root;  // an absolute folder, without a trailing "/" (except "/" itself)
    std::string name;  // the volume's name; may be empty
    friend bool operator==(const Drive&, const Drive&) = default;
};

// What the book search dialog shows and does: its list of lines, the
// create-list entry first, then one title per book found on a drive.
// Called on the UI thread only.
class BookList {
public:
    virtual ~BookList() = default;

    // The lines in order; line 0 is the create-list entry.
    virtual std::vector<std::string> lines() const = 0;
    // The line to make current after the list changed (1 with books, else 0).
    virtual int currentLine() const = 0;
    // Makes the list anew by walking the drive: runs its own wait window and
    // message, and returns when the list holds what was found.
    virtual void makeList() = 0;
    // The place of the book on `line` (1 or more): its folder, ending in
    // "/", or its zip file; empty for line 0 or a line that does not exist.
    virtual std::string folder(int line) const = 0;
};

}  // namespace korvin
