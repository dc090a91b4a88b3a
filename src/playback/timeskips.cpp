// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/timeskips.h"

#include "playback/audiotime.h"

namespace korvin {

TimeSkips::TimeSkips(const PlaybackState& state, const BookTables& tables, PlaybackEngine& engine, MediaPlayer& player)
    : m_state(state)
    , m_tables(tables)
    , m_engine(engine)
    , m_player(player)
{
}

void TimeSkips::skip(double seconds)
{
    if (!m_state.bookOpen)
        return;
    const BookTable& phrases = m_tables.phrases;
    const AudioPlace here{phrases.selectionMark(), m_player.url().empty() ? 0.0 : m_player.position()};
    const PlaybackEngine& engine = m_engine;
    const AudioPlace there =
        moveThroughAudio(phrases, here, seconds, false, [&engine](int row) { return engine.isHeard(row); });
    if (there != here)
        m_engine.moveTo(there);
}

}  // namespace korvin
