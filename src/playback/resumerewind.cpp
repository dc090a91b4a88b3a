// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/resumerewind.h"

namespace korvin {

ResumeRewind::ResumeRewind(const Options& options, const BookTables& tables, PlaybackEngine& engine,
                           MediaPlayer& player)
    : m_options(options)
    , m_tables(tables)
    , m_engine(engine)
    , m_player(player)
{
}

AudioPlace ResumeRewind::earlier(AudioPlace place) const
{
    const PlaybackEngine& engine = m_engine;
    return moveThroughAudio(m_tables.phrases, place, -kRewind, true,
                            [&engine](int row) { return engine.isHeard(row); });
}

AudioPlace ResumeRewind::resumePlace(AudioPlace saved) const
{
    return m_options.rewindOnResume ? earlier(saved) : saved;
}

void ResumeRewind::continuing()
{
    if (!m_options.rewindOnResume || m_engine.quietMilliseconds() <= kLongPause || m_player.url().empty())
        return;
    const AudioPlace here{m_tables.phrases.selectionMark(), m_player.position()};
    const AudioPlace there = earlier(here);
    if (there != here)
        m_engine.moveTo(there);
}

}  // namespace korvin
