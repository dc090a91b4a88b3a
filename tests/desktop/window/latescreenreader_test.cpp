// SPDX-License-Identifier: GPL-3.0-or-later
// A screen reader whose connection comes up after a window is already active.

#include "desktop/window/latescreenreader.h"

#include <QLineEdit>
#include <QTest>

#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace korvin {
namespace {

using Told = std::pair<QAccessible::Event, QObject*>;

TEST(LateScreenReader, TellsTheActiveWindowThenItsFocusOnceTheConnectionComesUp)
{
    enum Shown { kNone, kMain, kDialogOverMain };
    for (const auto& [shown, comesUp] :
         {std::pair{kMain, true}, {kDialogOverMain, true}, {kMain, false}, {kNone, true}}) {
        SCOPED_TRACE(testing::Message() << "shown " << shown << ", up " << comesUp);
        QWidget main, dialog;
        QLineEdit mainField(&main), dialogField(&dialog);
        for (QWidget* window : {&main, &dialog}) {
            if (shown == kNone || (window == &dialog && shown == kMain))
                continue;
            window->show();
            window->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        }
        std::vector<Told> told;
        LateScreenReader reader([&](QAccessibleEvent& event) {
            // Only the window's activation counts among state changes.
            if (event.type() != QAccessible::StateChanged ||
                static_cast<QAccessibleStateChangeEvent&>(event).changedStates().active)
                told.emplace_back(event.type(), event.object());
        });
        QAccessible::setActive(comesUp);  // as Qt's bridge tells its observers
        QCoreApplication::processEvents();

        std::vector<Told> expected;
        if (comesUp && shown != kNone) {
            const bool overMain = shown == kDialogOverMain;
            expected = {{QAccessible::StateChanged, overMain ? &dialog : &main},
                        {QAccessible::Focus, overMain ? &dialogField : &mainField}};
        }
        EXPECT_EQ(told, expected);
    }
}

}  // namespace
}  // namespace korvin
