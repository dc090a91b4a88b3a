// SPDX-License-Identifier: GPL-3.0-or-later
// The fake list box of the tests keeps the same contract as the desktop's, so
// that what the controller's tests show holds for the program.

#include "platform/listboxcontract.h"
#include "support/fakeplatform.h"

namespace korvin::test {
namespace {

class FakeHarness final : public ListBoxHarness {
public:
    ListBox& list() override { return m_list; }
    void focusList() override { }
    void focusElsewhere() override { }

private:
    FakeListBox m_list;
};

INSTANTIATE_TEST_SUITE_P(Fake, ListBoxContract,
                         ::testing::Values(ListBoxContractCase{"Fake", [] { return std::make_unique<FakeHarness>(); }}),
                         listBoxCaseName);

}  // namespace
}  // namespace korvin::test
