// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/maincontroller.h"
#include "support/fakearchives.h"
#include "support/fakeplatform.h"
#include "support/simulatedplayer.h"
#include "support/simulatedtimers.h"
#include "support/tempdir.h"
#include "support/virtualclock.h"
#include "support/sourcepaths.h"

namespace korvin::test {

// The main-window controller on simulated and fake platform parts: a virtual clock drives
// the player and the timers, so playback runs deterministically and fast.
class ControllerHarness {
public:
    // Whether the start page waits for showHeldStartPage(), as while the window comes up.
    enum class StartPage { kShown, kHeld };

    // `home` holds the state files; a fresh folder when empty.
    explicit ControllerHarness(const std::string& home = std::string(), StartPage startPage = StartPage::kShown);
    ~ControllerHarness();

    MainController& controller() { return *m_controller; }
    const std::string& home() const { return m_home; }
    std::string dataFolder() const { return korvin::test::sourceDir() + "/resources"; }

    // Starts a new controller on the same home folder (the program started again).
    void restart();

    // Lets virtual time pass, running timers and the player.
    void advance(int milliseconds) { clock.advance(milliseconds); }
    // Lets `milliseconds` pass in steps and returns the phrase rows that became
    // the selected row, in order.
    std::vector<int> selectedRowsDuring(int milliseconds, int stepMs = 10);

    // Opens the book in `folder` through Open and its file dialog.
    void openBook(const std::string& folder);

    int selectedPhrase() { return m_controller->tables().phrases.selectedRow(); }
    // The book folder home/Letztes.dl names, unscrambled; "<none>" without one.
    std::string lastBookFile() const;

    VirtualClock clock;
    SimulatedPlayer player{clock};
    SimulatedTimers timers{clock};
    FakeTitleCue titleCue;
    FakeHtmlView textView;
    FakeListBox groupList;
    FakeListBox bookmarkList;
    FakeListBox searchResultList;
    FakeMessageBoxes messageBoxes;
    FakeDialogs dialogs;
    FakeWindow windowView;
    FakeMenuBar menuBar;
    FakeWaitWindow waitWindow;
    FakeTextDocuments textDocuments;
    // Zipped books, unpacked below the home folder.
    FakeBookArchives archives;

private:
    void create();

    StartPage m_startPage;
    std::unique_ptr<TempDir> m_ownHome;
    std::string m_home;
    std::unique_ptr<MainController> m_controller;
};

// Writes `lines` to home/Settings.dl, scrambled, as the program writes the file.
void writeSettingsFile(const std::string& home, const std::vector<std::string>& lines);

}  // namespace korvin::test
