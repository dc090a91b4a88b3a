// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/phraserows.h"

#include <algorithm>

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

namespace {

double clipLength(const BookTable& phrases, int row)
{
    if (phrases.text(row, col::phrase::kAudio).empty())
        return 0.0;
    return std::max(0.0, phrases.real(row, col::phrase::kPhrEnd) - phrases.real(row, col::phrase::kPhrBeg));
}

}  // namespace

double positionInHeading(const BookTable& phrases, int row, double position)
{
    if (row < 0 || row >= phrases.rowCount())
        return 0.0;
    double heard = 0.0;
    for (int earlier = firstRowOfHeading(phrases, row); earlier < row; ++earlier)
        heard += clipLength(phrases, earlier);
    if (!phrases.text(row, col::phrase::kAudio).empty())
        heard += std::max(0.0, position - phrases.real(row, col::phrase::kPhrBeg));
    return heard;
}

HeadingPlace placeInHeading(const BookTable& phrases, int first, double offset)
{
    double before = 0.0;
    for (int row = first; sameHeading(phrases, row, first); ++row) {
        const double length = clipLength(phrases, row);
        if (length > 0.0 && offset < before + length)
            return {row, phrases.real(row, col::phrase::kPhrBeg) + std::max(0.0, offset - before)};
        before += length;
    }
    return {};
}

}  // namespace korvin
