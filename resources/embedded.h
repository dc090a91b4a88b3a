// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

// The text tables of resources/, compiled into the program.
namespace korvin::resources {

std::string_view stringTable();
std::string_view menuTable();
std::string_view acceleratorTable();

}  // namespace korvin::resources
