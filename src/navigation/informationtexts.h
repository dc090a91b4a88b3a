// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "playback/sleeptimerleft.h"
#include "ui/stringtable.h"

namespace korvin {

// The sentences of the information messages, built from the string table in
// the language of `languageOffset` (0 German, 200 English). Pure functions.
class InformationTexts {
public:
    // Which play time a sentence gives.
    enum class PlayTime { kTotal, kElapsed, kRemaining };

    InformationTexts(const StringTable& strings, int languageOffset)
        : m_strings(strings)
        , m_offset(languageOffset)
    {
    }

    // "h Stunden, m Minuten und s Sekunden", with "eine Stunde" (minute, second)
    // for a 1; the fraction of a second is dropped, and a value below 1 (a
    // negative one, NaN) gives zero for all three.
    std::string duration(double seconds) const;
    // The time text, then the duration, then a full stop unless `fullStop` is
    // false (the book's remaining time has none).
    std::string playTime(PlayTime which, double seconds, bool fullStop = true) const;
    // `count` as stored: "1" read as a number gives the sentence of one entry.
    std::string entries(const std::string& count) const;
    std::string levels(int deepest) const;
    // `index` counts from 0; `count` is the entry count as stored.
    std::string headingIndex(int index, const std::string& count) const;
    std::string headingLevel(const std::string& level) const;

    // What "where am I" says, each part a sentence: the heading (its number from
    // 1, the count, its title), the page when there is one, the time heard and
    // left in the heading and in the book, the sleep timer when it runs.
    struct Place {
        int heading = 0;
        int headingCount = 0;
        std::string title;
        std::string page;  // empty: the book has no pages
        double headingHeard = 0.0;
        double headingLeft = 0.0;
        double bookHeard = 0.0;
        double bookLeft = 0.0;
        SleepTimerLeft sleepTimer;
    };
    std::string whereAmI(const Place& place) const;

private:
    const std::string& text(int id) const { return m_strings.get(id, m_offset); }
    std::string part(long long value, int one, int many) const;

    const StringTable& m_strings;
    int m_offset;
};

}  // namespace korvin
