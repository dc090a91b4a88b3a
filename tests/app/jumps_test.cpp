// SPDX-License-Identifier: GPL-3.0-or-later
// Every jump the listener asks for (a page, a bookmark, a search hit, a group,
// a link) plays the phrase it lands on, also when the book stood paused and the
// phrase lies in the audio file already loaded.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/controlids.h"
#include "support/controllerharness.h"
#include "support/testbook.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

using test::TestBook;

// Two headings, each one SMIL and one audio file:
//
//   row heading par  text  clip of a.mp3 / b.mp3   page  group
//   0   0       p0   x0    1.000–2.000
//   1   0       p1   x1    2.000–4.000              1
//   2   0       p2   x2    4.000–6.000
//   3   0       p3   x3    6.000–8.000  "Wal"       2
//   4   0       p4   x4    8.000–10.000                   A
//   5   0       p5   x5    10.000–12.000
//   6   1       q0   y0    0.000–2.000  "Wal"
//   7   1       q1   y1    2.000–4.000
class JumpBook {
public:
    JumpBook()
    {
        m_book.writeNcc(TestBook::Ncc()
                            .heading(1, "Eins", "a.smil#p0")
                            .page("1", "a.smil#p1")
                            .page("2", "a.smil#p3")
                            .group("A", "a.smil#txt_p4")
                            .heading(1, "Zwei", "b.smil#q0"));
        const std::string texts[] = {"Anfang", "eins", "zwei", "der Wal", "vier", "fünf"};
        TestBook::Smil a;
        test::FakeHtmlView::Elements paragraphs;
        for (int i = 0; i < 6; ++i) {
            const std::string id = std::to_string(i);
            a.par("p" + id, "t.html#x" + id,
                  {{"a.mp3", i == 0 ? "1.000" : std::to_string(2 * i) + ".000", std::to_string(2 * i + 2) + ".000"}});
            paragraphs.emplace_back("x" + id, texts[i]);
        }
        m_book.writeSmil("a.smil", a);
        m_book.writeSmil("b.smil", TestBook::Smil()
                                       .par("q0", "u.html#y0", {{"b.mp3", "0.000", "2.000"}})
                                       .par("q1", "u.html#y1", {{"b.mp3", "2.000", "4.000"}}));
        const std::string folder = m_book.folder();
        m_harness.player.addFile(folder + "a.mp3", 12.5);
        m_harness.player.addFile(folder + "b.mp3", 4.5);
        const test::FakeHtmlView::Elements other = {{"y0", "Wal"}, {"y1", "Ende"}};
        m_harness.textView.addDocument(folder + "t.html", paragraphs);
        m_harness.textView.addDocument(folder + "u.html", other);
        m_harness.textDocuments.add(folder + "t.html", paragraphs);
        m_harness.textDocuments.add(folder + "u.html", other);
        m_harness.openBook(folder);
        m_harness.advance(100);
    }

    MainController& controller() { return m_harness.controller(); }
    int row() { return m_harness.selectedPhrase(); }
    void search(int command, const std::string& term)
    {
        m_harness.dialogs.searchTerm = term;
        controller().command(command);
    }
    // Plays until phrase `target` has been heard for a moment.
    void playInto(int target)
    {
        ASSERT_TRUE(m_harness.clock.advanceUntil([&] { return row() == target; }, 15000)) << "row " << row();
        m_harness.advance(300);
        ASSERT_EQ(row(), target);
    }

    TestBook m_book;
    test::ControllerHarness m_harness;
};

TEST(Jumps, AJumpIntoTheLoadedFilePlaysItsPhraseAfterAPause)
{
    struct Case {
        const char* name;
        std::function<void(JumpBook&)> prepare;  // while the book plays
        int pauseIn;                             // the phrase the listener pauses in; -1 plays on
        std::function<void(JumpBook&)> jump;
        int row;
        double position;  // where the jump starts
    };
    const auto command = [](int id) { return [id](JumpBook& t) { t.controller().command(id); }; };
    const auto nothing = [](JumpBook&) {};
    const auto goToPage = [](const char* label) {
        return [label](JumpBook& t) {
            t.m_harness.dialogs.pageNumber = label;
            t.controller().command(cmd::kPageGoto);
        };
    };
    const auto bookmarkAt = [](JumpBook& t) {
        ASSERT_TRUE(t.m_harness.clock.advanceUntil([&] { return t.m_harness.player.position() >= 8.5; }, 15000));
        t.controller().command(cmd::kBookmarkSet);
    };
    const auto searchFor = [](int id, const char* term) { return [id, term](JumpBook& t) { t.search(id, term); }; };
    const Case cases[] = {
        {"next page", nothing, 0, command(cmd::kPageNext), 3, 6.0},
        {"previous page", nothing, 4, command(cmd::kPagePrevious), 1, 2.0},
        {"go to page, paused before", nothing, 0, goToPage("2"), 3, 6.0},
        {"go to page, playing before", nothing, -1, goToPage("2"), 3, 6.0},
        {"go to the page being heard", nothing, 3, goToPage("2"), 3, 6.0},
        {"bookmark", bookmarkAt, 5, command(cmd::kBookmarkNext), 4, 8.5},
        {"bookmark in the phrase being heard", bookmarkAt, 4, command(cmd::kBookmarkNext), 4, 8.5},
        {"hit of the text search", searchFor(cmd::kSearchText, "wal"), 5, command(cmd::kSearchNext), 3, 6.0},
        {"hit of the book search", searchFor(cmd::kSearchBook, "wal"), 5, command(cmd::kSearchNext), 3, 6.0},
        {"hit of the heading search", searchFor(cmd::kSearchHeadings, "eins"), 2, command(cmd::kSearchNext), 0, 1.0},
        {"next group", nothing, 1, command(cmd::kGroupNext), 4, 8.0},
        {"group chosen in the list", nothing, 1,
         [](JumpBook& t) {
             t.m_harness.groupList.setCurrentIndex(0);
             t.controller().notify(control::kGroupList, notify::kSelectionChanged);
         },
         4, 8.0},
        {"link", nothing, 1, [](JumpBook& t) { t.m_harness.textView.activateLink(t.m_book.folder() + "a.smil#p5"); }, 5,
         10.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JumpBook t;
        c.prepare(t);
        if (c.pauseIn >= 0) {
            t.playInto(c.pauseIn);
            t.controller().command(cmd::kPauseContinue);
            t.m_harness.advance(500);
            ASSERT_EQ(t.m_harness.player.playState(), MediaPlayer::kPaused);
        }
        c.jump(t);
        EXPECT_EQ(t.row(), c.row);
        t.m_harness.advance(100);
        EXPECT_EQ(t.m_harness.player.playState(), MediaPlayer::kPlaying);
        EXPECT_NEAR(t.m_harness.player.position(), c.position + 0.1, 0.005);
        EXPECT_EQ(t.m_harness.player.url(), t.m_book.folder() + "a.mp3");
        EXPECT_FALSE(t.controller().playback().forceSeek);
    }
}

// A jump to the first phrase of another heading: the heading's own start plays
// it, and no seek is left over for the next phrase, which follows on.
TEST(Jumps, AJumpToTheFirstPhraseOfAnotherHeadingLeavesNoSeekForTheNextPhrase)
{
    for (const bool link : {false, true}) {
        SCOPED_TRACE(link ? "link" : "search hit");
        JumpBook t;
        if (link) {
            t.m_harness.textView.activateLink(t.m_book.folder() + "b.smil#q0");
        } else {
            t.search(cmd::kSearchBook, "wal");
            t.controller().command(cmd::kSearchNext);
            t.controller().command(cmd::kSearchNext);
        }
        ASSERT_EQ(t.row(), 6);
        EXPECT_FALSE(t.controller().playback().forceSeek);
        t.m_harness.player.clearLog();
        ASSERT_TRUE(t.m_harness.clock.advanceUntil([&] { return t.row() == 7; }, 3000));
        EXPECT_TRUE(t.m_harness.player.log().empty()) << t.m_harness.player.log().front();
    }
}

}  // namespace
}  // namespace korvin
