// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/timedbook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>

#include "library/options.h"
#include "library/settings.h"

namespace korvin::test {

namespace {

// "H:MM:SS", as ncc:timeInThisSmil writes a time.
std::string timeText(double value)
{
    const long whole = static_cast<long>(value);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
    return text;
}

std::string seconds(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

}  // namespace

void openTimedBook(TestBook& book, ControllerHarness& harness, const std::vector<TimedHeading>& headings,
                   const TimedBookOptions& options)
{
    Settings settings;
    settings.autoPlay = options.autoPlay;
    const Scrambler scrambler;
    ASSERT_TRUE(SettingsFile(harness.home() + "/Settings.dl", scrambler).write(settings));
    ASSERT_TRUE(OptionsFile(harness.home() + "/Optionen.dl", scrambler)
                    .write(Options{.rewindOnResume = options.rewindOnResume, .upToTriple = false}));
    harness.restart();

    TestBook::Ncc ncc;
    ncc.meta("dc:title", "Zeitbuch").meta("dc:identifier", "timed-1");
    if (!options.totalTime.empty())
        ncc.meta("ncc:totalTime", options.totalTime);
    std::map<std::string, double> files;
    for (std::size_t i = 0; i < headings.size(); ++i) {
        const std::string name = "h" + std::to_string(i);
        const std::string first = name + ".smil#p" + std::to_string(i) + "_0";
        ncc.heading(headings[i].level, headings[i].title, first).page(std::to_string(i + 1), first);
        double length = 0.0;
        for (const TimedPhrase& phrase : headings[i].phrases)
            length += phrase.audio.empty() ? 0.0 : phrase.end - phrase.begin;
        TestBook::Smil smil;
        smil.timeInThisSmil(timeText(length));
        for (std::size_t j = 0; j < headings[i].phrases.size(); ++j) {
            const TimedPhrase& phrase = headings[i].phrases[j];
            const std::string id = std::to_string(i) + "_" + std::to_string(j);
            std::vector<TestBook::Clip> clips;
            if (!phrase.audio.empty()) {
                clips.push_back({phrase.audio, seconds(phrase.begin), seconds(phrase.end)});
                files[phrase.audio] = std::max(files[phrase.audio], phrase.end);
            }
            smil.par("p" + id, "t.html#x" + id, clips, phrase.systemRequired);
        }
        book.writeSmil(name + ".smil", smil);
    }
    book.writeNcc(ncc);
    for (const auto& [file, end] : files)
        harness.player.addFile(book.folder() + file, end + 0.2);
    harness.openBook(book.folder());
    harness.advance(0);
}

}  // namespace korvin::test
