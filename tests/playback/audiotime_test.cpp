#include "playback/audiotime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "book/booktables.h"

namespace korvin {
namespace {

// heading, audio, clip; row 2 has no sound, row 4 is skipped (does not count),
// row 7's clip ends before it begins.
//   row heading audio  clip
//   0   0       a      0–4
//   1   0       a      4–8
//   2   0       —
//   3   1       b      0–3
//   4   1       b      3–6   skipped
//   5   1       b      6–9
//   6   2       c      2–5
//   7   3       d      5–4
class AudioTimeTest : public ::testing::Test {
protected:
    AudioTimeTest()
    {
        struct Row {
            const char* heading;
            const char* audio;
            const char* begin;
            const char* end;
        };
        for (const Row& r : {Row{"0", "a", "0.000", "4.000"}, Row{"0", "a", "4.000", "8.000"}, Row{"0", "", "", ""},
                             Row{"1", "b", "0.000", "3.000"}, Row{"1", "b", "3.000", "6.000"},
                             Row{"1", "b", "6.000", "9.000"}, Row{"2", "c", "2.000", "5.000"},
                             Row{"3", "d", "5.000", "4.000"}}) {
            const int row = m_phrases.insertRow(m_phrases.rowCount(), r.heading);
            m_phrases.setText(row, col::phrase::kAudio, r.audio);
            m_phrases.setText(row, col::phrase::kPhrBeg, r.begin);
            m_phrases.setText(row, col::phrase::kPhrEnd, r.end);
        }
    }
    AudioPlace move(AudioPlace from, double seconds, bool withinHeading = false) const
    {
        return moveThroughAudio(m_phrases, from, seconds, withinHeading, m_counts);
    }

    BookTables m_tables;
    BookTable& m_phrases = m_tables.phrases;
    const std::function<bool(int)> m_counts = [this](int row) { return hasAudio(m_phrases, row) && row != 4; };
};

TEST_F(AudioTimeTest, MovesThroughClipsFilesAndHeadingsAndStopsAtTheEndsOfItsReach)
{
    struct Case {
        const char* what;
        AudioPlace from;
        double seconds;
        bool withinHeading;
        AudioPlace expected;
    };
    for (const Case& c : {
             Case{"within a clip", {0, 1.0}, 2.0, false, {0, 3.0}},
             Case{"on into the next clip of the file", {0, 3.0}, 2.0, false, {1, 5.0}},
             Case{"a clip's end is the next clip's begin", {0, 2.0}, 2.0, false, {1, 4.0}},
             Case{"past a phrase without sound into the next heading", {1, 7.0}, 2.0, false, {3, 1.0}},
             Case{"past a skipped phrase", {3, 2.0}, 2.0, false, {5, 7.0}},
             Case{"a clip that does not begin its file", {5, 8.0}, 2.0, false, {6, 3.0}},
             Case{"an empty clip takes no time, and ends the book", {5, 8.0}, 10.0, false, {7, 5.0}},
             Case{"at the book's end it stays", {7, 5.0}, 10.0, false, {7, 5.0}},
             Case{"back within a clip, onto its begin", {1, 5.0}, -1.0, false, {1, 4.0}},
             Case{"back into the clip before", {1, 5.0}, -3.0, false, {0, 2.0}},
             Case{"back past a phrase without sound into the heading before", {3, 1.0}, -3.0, false, {1, 6.0}},
             Case{"back stops at the book's start", {0, 1.0}, -10.0, false, {0, 0.0}},
             Case{"back stops at the heading's start", {3, 1.0}, -10.0, true, {3, 0.0}},
             Case{"back within the heading past a skipped phrase", {5, 7.0}, -3.0, true, {3, 1.0}},
             Case{"forward stops at the heading's end", {3, 1.0}, 30.0, true, {5, 9.0}},
             Case{"a phrase without sound: forward from the audio after it", {2, 0.0}, 1.0, false, {3, 1.0}},
             Case{"a phrase without sound: back from the audio before it", {2, 0.0}, -1.0, false, {1, 7.0}},
             Case{"a phrase without sound at its heading's end", {2, 0.0}, 1.0, true, {2, 0.0}},
             Case{"a position past the clip counts from its end", {1, 20.0}, -1.0, false, {1, 7.0}},
             Case{"a position before the clip counts from its begin", {5, 0.0}, 1.0, false, {5, 7.0}},
             Case{"no move", {0, 1.0}, 0.0, false, {0, 1.0}},
             Case{"no row", {-1, 1.0}, 5.0, false, {-1, 1.0}},
             Case{"a row past the table", {8, 1.0}, 5.0, false, {8, 1.0}},
             Case{"not a number", {0, 1.0}, std::nan(""), false, {0, 1.0}},
         }) {
        SCOPED_TRACE(c.what);
        const AudioPlace got = move(c.from, c.seconds, c.withinHeading);
        EXPECT_EQ(got.row, c.expected.row);
        EXPECT_NEAR(got.position, c.expected.position, 1e-9);
    }
}

TEST_F(AudioTimeTest, AHeadingsAudioCountsOnlyTheClipsThatCount)
{
    struct Case {
        AudioPlace place;
        double heard;
        double length;
    };
    for (const Case& c : {
             Case{{0, 0.0}, 0.0, 8.0},
             Case{{1, 5.0}, 5.0, 8.0},
             Case{{2, 0.0}, 8.0, 8.0},   // a phrase without sound after all of it
             Case{{4, 4.0}, 3.0, 6.0},   // a skipped phrase: its clip is not heard
             Case{{5, 7.5}, 4.5, 6.0},
             Case{{5, 12.0}, 9.0, 6.0},  // past its clip's end: more than the heading holds
             Case{{7, 6.0}, 1.0, 0.0},   // an empty clip
             Case{{-1, 3.0}, 0.0, 0.0},
         }) {
        SCOPED_TRACE(c.place.row);
        const HeadingAudio audio = headingAudio(m_phrases, c.place, m_counts);
        EXPECT_NEAR(audio.heard, c.heard, 1e-9);
        EXPECT_NEAR(audio.length, c.length, 1e-9);
    }
}

}  // namespace
}  // namespace korvin
