// SPDX-License-Identifier: GPL-3.0-or-later
#include "placewriter.h"

#include "book/textnumbers.h"

namespace korvin::test {

BookInfo PlaceWriterSave::book(int index)
{
    const std::string n = std::to_string(index);
    return BookInfo{
        "2020-02-0" + std::to_string(index % 9 + 1), "urn:book-" + n, "Buch Nummer " + n, "12", "3:04:05", "1 of 1"};
}

ResumeRecord PlaceWriterSave::resume(long long save, int books)
{
    return ResumeRecord{std::to_string(save % books), decimalText(static_cast<double>(save) / 1000.0, 3),
                        std::to_string(save)};
}

std::vector<BookmarkRecord> PlaceWriterSave::bookmarks(long long save, int books)
{
    std::vector<BookmarkRecord> marks;
    const int count = static_cast<int>(save % 3) + 1;
    for (int k = 0; k < count; ++k)
        marks.push_back({"Kapitel " + std::to_string(save) + " Nr. " + std::to_string(k), std::to_string(save),
                         std::to_string(save % books), std::to_string(k)});
    return marks;
}

}  // namespace korvin::test
