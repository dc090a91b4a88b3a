// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QHBoxLayout;
class QPushButton;

namespace korvin {

// The OK and Cancel buttons of the program's own dialogs, at the right: OK is
// the default button, which Enter reaches from any field; Cancel never is,
// so that Enter on a focused Cancel still cancels and nothing else.
QHBoxLayout* okCancelRow(QPushButton* ok, QPushButton* cancel);

}  // namespace korvin
