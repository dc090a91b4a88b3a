#include "playback/phraserows.h"

#include "book/booktables.h"
#include "book/textnumbers.h"

namespace korvin {

bool sameHeading(const BookTable& phrases, int row, int other)
{
    const auto isRow = [&](int r) { return r >= 0 && r < phrases.rowCount(); };
    return isRow(row) && isRow(other) &&
           phrases.text(row, col::phrase::kTreeId) == phrases.text(other, col::phrase::kTreeId);
}

int firstRowOfHeading(const BookTable& phrases, int row)
{
    while (sameHeading(phrases, row - 1, row))
        --row;
    return row;
}

bool nextHeadingFollowsInFile(const BookTable& phrases, int row, const std::string& audio, double end)
{
    if (audio.empty())
        return false;
    int next = row;
    while (sameHeading(phrases, next + 1, row))
        ++next;
    const int first = ++next;
    for (; sameHeading(phrases, next, first); ++next) {
        const std::string& file = phrases.text(next, col::phrase::kAudio);
        if (file.empty())
            continue;
        return file == audio && toReal(phrases.text(next, col::phrase::kPhrBeg)) >= end;
    }
    return false;
}

}  // namespace korvin
