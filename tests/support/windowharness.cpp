#include "support/windowharness.h"

namespace korvin::test {

WindowHarness::WindowHarness(const std::string& home)
{
    if (home.empty()) {
        m_ownHome = std::make_unique<TempDir>();
        m_home = m_ownHome->path().string();
    } else {
        m_home = home;
    }
    timers.setHandler([this](int id) {
        if (m_window)
            m_window->timer(id);
    });
    create();
}

WindowHarness::~WindowHarness()
{
    m_window.reset();
}

void WindowHarness::create()
{
    m_window.reset();
    const PlatformServices services{player,       titleCue,     textView, timers, groupList,
                                    bookmarkList, searchResultList, messageBoxes, dialogs, windowView, menuBar};
    m_window = std::make_unique<MainWindow>(services, Folders{m_home, dataFolder()});
    m_window->initialise();
}

void WindowHarness::restart()
{
    create();
}

std::vector<int> WindowHarness::selectedRowsDuring(int milliseconds, int stepMs)
{
    std::vector<int> rows;
    int last = selectedPhrase();
    for (int passed = 0; passed < milliseconds; passed += stepMs) {
        clock.advance(stepMs);
        const int row = selectedPhrase();
        if (row != last)
            rows.push_back(row);
        last = row;
    }
    return rows;
}

void WindowHarness::openBook(const std::string& folder)
{
    dialogs.nccFile = folder + "ncc.html";
    m_window->command(32774);
}

}  // namespace korvin::test
