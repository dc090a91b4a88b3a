// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>
#include <vector>

#include "platform/window.h"

namespace korvin {

// Reads an accelerator table: key (a letter, a digit, "Space" or "F1".."F12"), modifiers
// ("-" or "+"-joined "Ctrl", "Shift", "Alt"), command id; tab-separated, "#"
// starts a comment line. Lines that name no key are passed over.
std::vector<Accelerator> parseAcceleratorTable(std::string_view table);

// The program's accelerator table (the same in both languages).
std::vector<Accelerator> builtInAccelerators();

// The command `key` with `modifiers` sends, 0 when none.
int commandForKey(const std::vector<Accelerator>& table, int key, int modifiers);

}  // namespace korvin
