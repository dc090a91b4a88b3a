// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The desktop part of the program (the window, with Qt, libmpv and libxml2) is
// a library of its own that the program loads only when a window is needed:
// the book dump, the help and the version start without the desktop's
// libraries.
//
// Its one entry runs the window's program with the program's arguments, Qt's
// own options among them, on the calling thread, and returns the exit status.
extern "C" int korvin_desktop_main(int argc, char* argv[]);

namespace korvin {

inline constexpr const char* kDesktopEntryName = "korvin_desktop_main";
using DesktopEntry = int (*)(int argc, char* argv[]);

}  // namespace korvin
