// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/controllerharness.h"

#include <gtest/gtest.h>

#include "library/scrambler.h"
#include "library/statefile.h"
#include "ui/commandids.h"

namespace korvin::test {

ControllerHarness::ControllerHarness(const std::string& home, StartPage startPage)
    : m_startPage(startPage)
{
    if (home.empty()) {
        m_ownHome = std::make_unique<TempDir>();
        m_home = m_ownHome->path().string();
    } else {
        m_home = home;
    }
    archives.unpackRoot = m_home + "/unpacked";
    timers.setHandler([this](int id) {
        if (m_controller)
            m_controller->timer(id);
    });
    create();
}

ControllerHarness::~ControllerHarness()
{
    m_controller.reset();
}

void ControllerHarness::create()
{
    m_controller.reset();
    const PlatformServices services{player,       titleCue,         textView,     timers,  groupList,
                                    bookmarkList, searchResultList, messageBoxes, dialogs, windowView,
                                    menuBar,      waitWindow,       textDocuments, archives};
    m_controller = std::make_unique<MainController>(services, Folders{m_home, dataFolder()});
    if (m_startPage == StartPage::kHeld)
        m_controller->holdStartPage();
    m_controller->initialise();
}

void ControllerHarness::restart()
{
    create();
}

std::vector<int> ControllerHarness::selectedRowsDuring(int milliseconds, int stepMs)
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

void ControllerHarness::openBook(const std::string& folder)
{
    dialogs.nccFile = folder + "ncc.html";
    m_controller->command(cmd::kOpen);
}

void writeSettingsFile(const std::string& home, const std::vector<std::string>& lines)
{
    const Scrambler scrambler;
    std::string contents;
    for (std::size_t i = 0; i < lines.size(); ++i)
        contents += scrambler.scramble(lines[i]) + (i + 1 < lines.size() ? "\n" : "");
    ASSERT_TRUE(writeFileAtomically(home + "/Settings.dl", contents));
}

std::string ControllerHarness::lastBookFile() const
{
    const auto lines = readTextLines(m_home + "/Letztes.dl");
    return lines && !lines->empty() ? Scrambler().unscramble(lines->front()) : std::string("<none>");
}

}  // namespace korvin::test
