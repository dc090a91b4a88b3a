// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "book/booktables.h"
#include "library/bookmarkfile.h"
#include "library/resumefile.h"

namespace korvin::test {

// What the place writer (placewriter_main.cpp) saves, and the kill test checks:
// save number g is of book g % books; its resume record and its bookmarks all
// carry g, so that a file made of two saves shows at once.
struct PlaceWriterSave {
    static BookInfo book(int index);
    static ResumeRecord resume(long long save, int books);
    static std::vector<BookmarkRecord> bookmarks(long long save, int books);
};

}  // namespace korvin::test
