// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What every ListBox must do for the code that drives it, as one suite that
// runs against each implementation (the fake of the tests and the desktop's
// list box). An implementation's test program provides a ListBoxHarness and
// instantiates the suite:
//
//   INSTANTIATE_TEST_SUITE_P(Fake, ListBoxContract, ::testing::Values(ListBoxContractCase{"Fake", make}),
//                            listBoxCaseName);
//
// Include this header in one source file per test program.

#include "platform/listbox.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace korvin::test {

class ListBoxHarness {
public:
    virtual ~ListBoxHarness() = default;
    virtual ListBox& list() = 0;
    // The listener moves the keyboard focus to the list (a list view may then
    // mark a line as current without selecting it).
    virtual void focusList() = 0;
    // The keyboard focus goes elsewhere.
    virtual void focusElsewhere() = 0;
};

struct ListBoxContractCase {
    std::string name;
    std::function<std::unique_ptr<ListBoxHarness>()> makeHarness;
};

inline void PrintTo(const ListBoxContractCase& contractCase, std::ostream* out)
{
    *out << contractCase.name;
}

inline std::string listBoxCaseName(const ::testing::TestParamInfo<ListBoxContractCase>& info)
{
    return info.param.name;
}

class ListBoxContract : public ::testing::TestWithParam<ListBoxContractCase> {
protected:
    void SetUp() override { m_harness = GetParam().makeHarness(); }

    ListBox& list() { return m_harness->list(); }
    ListBoxHarness& harness() { return *m_harness; }

    std::vector<std::string> lines()
    {
        std::vector<std::string> out;
        for (int i = 0; i < list().count(); ++i)
            out.push_back(list().text(i));
        return out;
    }

private:
    std::unique_ptr<ListBoxHarness> m_harness;
};

// The selected line (currentIndex) after each change the program makes: no
// change selects a line by itself, a line taken away takes its selection
// with it, and a selected line that moves up keeps its selection.
TEST_P(ListBoxContract, OnlyTheProgramSelectsALineAndADeletedLineLeavesNoneSelected)
{
    enum class Op { kAdd, kDelete, kSelect, kReset };
    struct Step {
        Op op;
        int index;  // the line deleted or selected
        int selected;
        std::vector<std::string> lines;
    };
    const std::vector<std::string> abc = {"a", "b", "c"};
    for (const bool focused : {false, true}) {
        SCOPED_TRACE(focused ? "the list has the focus" : "the focus is elsewhere");
        const Step steps[] = {
            {Op::kAdd, 0, -1, {"a"}},
            {Op::kAdd, 0, -1, {"a", "b"}},
            {Op::kAdd, 0, -1, abc},
            {Op::kSelect, 1, 1, abc},
            {Op::kAdd, 0, 1, {"a", "b", "c", "d"}},
            {Op::kDelete, 1, -1, {"a", "c", "d"}},  // the selected line, between two
            {Op::kSelect, 2, 2, {"a", "c", "d"}},
            {Op::kDelete, 0, 1, {"c", "d"}},  // the selected line moves up
            {Op::kDelete, 1, -1, {"c"}},      // the selected last line
            {Op::kAdd, 0, -1, {"c", "e"}},
            {Op::kSelect, 0, 0, {"c", "e"}},
            {Op::kDelete, 0, -1, {"e"}},  // the selected first line
            {Op::kSelect, 0, 0, {"e"}},
            {Op::kDelete, 3, 0, {"e"}},  // no such line: nothing changes
            {Op::kSelect, 5, -1, {"e"}},
            {Op::kSelect, 0, 0, {"e"}},
            {Op::kDelete, 0, -1, {}},  // the only line
            {Op::kAdd, 0, -1, {"f"}},
            {Op::kSelect, 0, 0, {"f"}},
            {Op::kReset, 0, -1, {}},
            {Op::kAdd, 0, -1, {"g"}},
        };
        list().resetContent();
        if (focused)
            harness().focusList();
        else
            harness().focusElsewhere();
        int number = 0;
        for (const Step& step : steps) {
            SCOPED_TRACE(::testing::Message() << "step " << number++);
            switch (step.op) {
            case Op::kAdd:
                EXPECT_EQ(list().addString(step.lines.back()), static_cast<int>(step.lines.size()) - 1);
                break;
            case Op::kDelete:
                list().deleteString(step.index);
                break;
            case Op::kSelect:
                list().setCurrentIndex(step.index);
                break;
            case Op::kReset:
                list().resetContent();
                break;
            }
            EXPECT_EQ(lines(), step.lines);
            EXPECT_EQ(list().count(), static_cast<int>(step.lines.size()));
            EXPECT_EQ(list().currentIndex(), step.selected);
        }
    }
}

// A list view marks a line as current when it gets the focus, without
// selecting it: the current line is not the selection the program reads.
TEST_P(ListBoxContract, TheFocusSelectsNoLine)
{
    list().addString("a");
    list().addString("b");
    harness().focusList();
    EXPECT_EQ(list().currentIndex(), -1);
    harness().focusElsewhere();
    list().setCurrentIndex(1);
    harness().focusList();
    EXPECT_EQ(list().currentIndex(), 1);
    list().deleteString(1);
    harness().focusElsewhere();
    harness().focusList();
    EXPECT_EQ(list().currentIndex(), -1);
    EXPECT_EQ(list().text(0), "a");
}

}  // namespace korvin::test
