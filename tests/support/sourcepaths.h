// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace korvin::test {

// Where this checkout lies, and where the sample books beside it would be.
// Only one generated file knows the paths: every other test object is then
// the same in any clone of the code, and ccache hands it from one to another.
std::string sourceDir();
std::string sharedBooksDir();

}  // namespace korvin::test
