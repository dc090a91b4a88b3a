// SPDX-License-Identifier: GPL-3.0-or-later
// Saves resume positions and bookmarks of many books in a loop, until killed:
//   korvin_place_writer FOLDER BOOKS FIRST_SAVE
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "library/scrambler.h"
#include "placewriter.h"

int main(int argc, char** argv)
{
    using namespace korvin;
    if (argc != 4)
        return 2;
    const std::string folder = argv[1];
    const int books = std::atoi(argv[2]);
    const long long first = std::atoll(argv[3]);
    if (books <= 0)
        return 2;
    const Scrambler scrambler;
    const ResumeFile resume(folder + "/AResume.dl", scrambler);
    const BookmarkFile bookmarks(folder + "/MResume.dl", scrambler);
    // One byte on standard output says the saving begins: the killer's clock
    // starts here, not at a start-up a loaded machine may make slow.
    if (::write(STDOUT_FILENO, "s", 1) != 1)
        return 1;
    for (long long save = first;; ++save) {
        const BookInfo book = test::PlaceWriterSave::book(static_cast<int>(save % books));
        if (!resume.save(book, test::PlaceWriterSave::resume(save, books)) ||
            !bookmarks.save(book, test::PlaceWriterSave::bookmarks(save, books)))
            return 1;
    }
}
