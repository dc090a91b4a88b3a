// SPDX-License-Identifier: GPL-3.0-or-later
#include "navigation/information.h"

#include <algorithm>

#include "book/textnumbers.h"
#include "book/timetext.h"
#include "navigation/pausebracket.h"
#include "playback/audiotime.h"

namespace korvin {

namespace {

// The same word in both languages.
constexpr const char* kCaption = "Information";

using PlayTime = InformationTexts::PlayTime;

}  // namespace

template <typename Answer>
void Information::answer(Answer answer)
{
    MediaPlayer& player = m_services.player;
    const bool ended = player.playState() == MediaPlayer::kMediaEnded;
    const PauseBracket bracket(player, m_services.menuBar);
    // Without a file there is no position to read.
    const double position = ended || player.url().empty() ? 0.0 : player.position();
    show(answer(position));
}

void Information::show(const std::string& text)
{
    m_services.messageBoxes.show(text, kCaption, MessageBoxes::Icon::kInformation);
}

double Information::bookTotal() const
{
    return parseTime(m_parts.bookInfo.totalTime);
}

double Information::titleDuration() const
{
    return m_services.player.url().empty() ? 0.0 : m_services.player.duration();
}

const std::string& Information::currentHeadingCell(int column) const
{
    const BookTable& headings = m_parts.tables.headings;
    return headings.text(headings.selectionMark(), column);
}

HeadingAudio Information::headingAudioAt(double position) const
{
    const BookTable& phrases = m_parts.tables.phrases;
    const int current = phrases.selectionMark();
    if (current < 0 || current >= phrases.rowCount() ||
        phrases.text(current, col::phrase::kTreeId) != currentHeadingCell(col::heading::kTreeId))
        return {};
    return headingAudio(phrases, {current, position}, [&phrases](int row) { return hasAudio(phrases, row); });
}

double Information::bookPosition(double position) const
{
    return parseTime(currentHeadingCell(col::heading::kZeitVerg)) + headingAudioAt(position).heard;
}

void Information::bookTotalTime()
{
    answer([this](double) { return texts().playTime(PlayTime::kTotal, bookTotal()); });
}

void Information::bookElapsedTime()
{
    answer([this](double position) { return texts().playTime(PlayTime::kElapsed, bookPosition(position)); });
}

void Information::bookRemainingTime()
{
    answer([this](double position) {
        return texts().playTime(PlayTime::kRemaining, bookTotal() - bookPosition(position), false);
    });
}

void Information::entries()
{
    answer([this](double) { return texts().entries(m_parts.bookInfo.tocItems); });
}

void Information::levels()
{
    answer([this](double) {
        const BookTable& headings = m_parts.tables.headings;
        int deepest = 1;
        for (int row = 0; row < headings.rowCount(); ++row)
            deepest = std::max(deepest, headings.integer(row, col::heading::kEbene));
        return texts().levels(deepest);
    });
}

void Information::titleTotalTime()
{
    answer([this](double) { return texts().playTime(PlayTime::kTotal, titleDuration()); });
}

void Information::titleElapsedTime()
{
    answer([this](double position) { return texts().playTime(PlayTime::kElapsed, position); });
}

void Information::titleRemainingTime()
{
    answer([this](double position) { return texts().playTime(PlayTime::kRemaining, titleDuration() - position); });
}

void Information::headingIndex()
{
    answer([this](double) {
        return texts().headingIndex(toInteger(currentHeadingCell(col::heading::kTreeId)),
                                    m_parts.bookInfo.tocItems);
    });
}

void Information::headingLevel()
{
    answer([this](double) { return texts().headingLevel(currentHeadingCell(col::heading::kEbene)); });
}

void Information::whereAmI()
{
    answer([this](double position) {
        const BookTables& tables = m_parts.tables;
        InformationTexts::Place place;
        place.heading = toInteger(currentHeadingCell(col::heading::kTreeId)) + 1;
        place.headingCount = tables.headings.rowCount();
        place.title = currentHeadingCell(col::heading::kTitel);
        const BookTable& pages = tables.pages;
        if (pages.rowCount() > 0)
            place.page = pages.text(std::clamp(pages.selectionMark(), 0, pages.rowCount() - 1), col::page::kSeite);
        const HeadingAudio heading = headingAudioAt(position);
        place.headingHeard = heading.heard;
        place.headingLeft = heading.length - heading.heard;
        place.bookHeard = bookPosition(position);
        place.bookLeft = bookTotal() - place.bookHeard;
        if (m_parts.sleepTimer)
            place.sleepTimer = m_parts.sleepTimer();
        return texts().whereAmI(place);
    });
}

}  // namespace korvin
