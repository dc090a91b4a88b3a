// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/smilrecording.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvin {
namespace {

// Every call as a line of text, its views as they were when it was made.
class Describer final : public SmilPhraseSink {
public:
    void anchor(std::string_view id) override { lines.push_back("anchor " + std::string(id)); }
    void phrase(const SmilPhrase& p) override
    {
        std::string line = "phrase " + std::string(p.id) + "|" + std::string(p.textSrc) + "|" + std::string(p.textId) +
                           "|" + std::to_string(static_cast<int>(p.kind));
        for (std::size_t i = 0; i < p.clipCount; ++i) {
            const SmilPhrase::Clip& c = (*p.clips)[i];
            const auto time = [](const std::optional<std::int64_t>& t) { return t ? std::to_string(*t) : "-"; };
            line += " [" + std::string(c.src) + " " + time(c.begin) + " " + time(c.end) + " " +
                    std::string(c.beginText) + " " + std::string(c.endText) + "]";
        }
        lines.push_back(line);
    }
    std::vector<std::string> lines;
};

// The phrases written from a recording are those the reading handed on, for
// files read one after another with the same storage.
TEST(SmilRecording, HandsOnWhatTheReadingHandedOn)
{
    const std::vector<std::string> files = {
        "<smil><body><seq id=\"s\"><par id=\"p1\" class=\"sidebar\"><text src=\"b.xml#t1\" id=\"x1\"/>"
        "<seq><audio src=\"a.mp3\" clipBegin=\"0s\" clipEnd=\"1.5s\"/><audio src=\"b.mp3\" clipBegin=\"npt=1.5s\"/>"
        "<audio src=\"\" clipBegin=\"x\" clipEnd=\"2:00\"/></seq></par>"
        "<par id=\"p2\"><text src=\"b.xml#t2\"/></par><text src=\"c.xml#t3\"/><audio src=\"a.mp3\"/></seq></body></smil>",
        "<smil><body><par id=\"only\"><audio src=\"z.mp3\" clipBegin=\"3s\" clipEnd=\"4s\"/></par></body></smil>",
        "<smil><body></body></smil>",
        "<smil><body><par id=\"&amp;\"><text src=\"d.xml#&#x41;\"/></par>",
    };
    Smil2Reader direct({});
    Smil2Reader recorded({});
    std::string recording = "left over";
    std::vector<SmilPhrase::Clip> clips;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        Describer expected;
        direct.read(file, expected);
        {
            SmilRecorder recorder(recording);
            recorded.read(file, recorder);
        }
        Describer replayed;
        replaySmil(recording, replayed, clips);
        EXPECT_EQ(replayed.lines, expected.lines);
    }
}

}  // namespace
}  // namespace korvin
