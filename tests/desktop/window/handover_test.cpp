// SPDX-License-Identifier: GPL-3.0-or-later
// `korvin BOOK` while Korvin runs: the second start hands the book to the
// running window (real, offscreen), which opens it as Open would.

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/maincontroller.h"
#include "desktop/window/desktopprogram.h"
#include "desktop/window/desktopwindow.h"
#include "desktop/window/singleinstance.h"
#include "desktop/window/startfolders.h"
#include "desktop/window/windowfixture.h"
#include "library/scrambler.h"
#include "library/statefile.h"
#include "support/audiofiles.h"
#include "support/testbook.h"
#include "ui/stringids.h"
#include "support/sourcepaths.h"

namespace korvin {
namespace {

using test::runUntil;

class HandOver : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_instance.claim());
        m_program.answer(m_instance);
        m_program.start();
    }
    // Starts the program again with `argument`, in `folder`; its exit code.
    int startAgain(const std::string& argument, const std::filesystem::path& folder)
    {
        QProcess process;
        process.setWorkingDirectory(QString::fromStdString(folder.string()));
        process.start(QStringLiteral(KORVIN_PROGRAM),
                      {QStringLiteral("--home"), QString::fromStdString(m_home), QString::fromStdString(argument)});
        EXPECT_TRUE(runUntil([&] { return process.state() == QProcess::NotRunning; }, 30000));
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    const PlaybackState& playback() { return m_program.controller().playback(); }

    test::TempDir m_homeDir;
    const std::string m_home = m_homeDir.path().string();
    DesktopProgram m_program{Folders{m_home, korvin::test::sourceDir() + "/resources"}};
    SingleInstance m_instance{instanceKey(m_home)};
};

TEST_F(HandOver, TheRunningWindowOpensTheBookAsOpenWouldAndComesToTheFront)
{
    test::TestBook books[2];
    for (test::TestBook& book : books) {
        const std::string id = &book == books ? "hand-1" : "hand-2";
        book.writeNcc(test::TestBook::Ncc().meta("dc:identifier", id).heading(1, "Eins", "a.smil#p1"));
        book.writeSmil("a.smil", test::TestBook::Smil().par("p1", "t.html#t1", {{"a.wav", "0.000", "0.200"}}));
        test::writeToneWav(book.dir().path() / "a.wav", 0.2, 8000);
    }
    struct Case {
        const char* name;
        std::string argument;
        std::filesystem::path folder;  // where the second start runs
        const test::TestBook& opened;
    };
    for (const Case& c : {Case{"a folder", books[0].folder(), m_homeDir.path(), books[0]},
                          Case{"an ncc.html named from its folder", "ncc.html", books[1].dir().path(), books[1]}}) {
        SCOPED_TRACE(c.name);
        m_program.window().showMinimized();
        EXPECT_EQ(startAgain(c.argument, c.folder), 0);
        EXPECT_TRUE(runUntil([&] { return playback().bookOpen && playback().bookFolder == c.opened.folder(); }, 30000));
        EXPECT_FALSE(m_program.window().isMinimized());
    }
    // The first book was closed as Open closes it, with its place saved.
    const auto resume = readTextLines(m_home + "/AResume.dl").value_or(std::vector<std::string>());
    EXPECT_TRUE(std::any_of(resume.begin(), resume.end(),
                            [](const std::string& line) { return Scrambler().unscramble(line) == "hand-1"; }));
}

TEST_F(HandOver, APathThatIsNoBookGetsTheMessageOfTheFileDialog)
{
    QString shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->close();
        }
    });
    closer.start(20);
    EXPECT_EQ(startAgain(m_home, m_home), 0);
    ASSERT_TRUE(runUntil([&] { return !shown.isEmpty(); }, 30000));
    EXPECT_EQ(shown.toStdString(), m_program.controller().text(str::kNccNotOpened));
    EXPECT_FALSE(playback().bookOpen);
}

}  // namespace
}  // namespace korvin
