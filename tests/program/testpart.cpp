// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the desktop part: its entry answers with the number of
// arguments and the length of the last one, so that a test sees both arrive.
#include <cstring>

#include "platform/desktopentry.h"

#ifdef KORVIN_TEST_PART_WITH_ENTRY
extern "C" __attribute__((visibility("default"))) int korvin_desktop_main(int argc, char* argv[])
{
    return 100 * argc + static_cast<int>(std::strlen(argv[argc - 1]));
}
#else
extern "C" __attribute__((visibility("default"))) int korvin_something_else()
{
    return 0;
}
#endif
