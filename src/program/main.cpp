// SPDX-License-Identifier: GPL-3.0-or-later
// korvin [--home DIR] [BOOK] | korvin --dump-book BOOK | korvin --help | --version
//
// The book dump (of a book that is not zipped), the help and the version need
// neither a display nor the desktop's libraries; everything else loads the desktop part and hands it
// the command line.

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "book/archivedbook.h"
#include "book/dumpbook.h"
#include "program/commandline.h"
#include "program/desktoppart.h"
#include "ui/stringids.h"
#include "ui/stringtable.h"

int main(int argc, char* argv[])
{
    using namespace korvin;

    const StringTable strings = StringTable::builtIn();
    const int language =
        environmentLanguageOffset(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
    const CommandLine commandLine = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!commandLine.understood()) {
        std::cerr << "korvin: " << mistakeText(commandLine, strings, language) << "\n\n"
                  << usageText(strings, language);
        return 2;
    }
    // A zipped book is read by the desktop part, which alone links libzip.
    if (commandLine.dumpBook && !isZipFileName(*commandLine.dumpBook))
        return dumpBook(*commandLine.dumpBook, std::cout, std::cerr, strings.get(str::kNccNotOpened, language));
    if (commandLine.help || commandLine.version) {
        std::cout << (commandLine.help ? usageText(strings, language) : versionText(strings, language));
        return 0;
    }
    // Without a display Qt would abort; say so in one line instead.
    if (!commandLine.dumpBook && displayMissing(commandLine, std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                                                std::getenv("WAYLAND_DISPLAY"))) {
        std::cerr << "korvin: " << strings.get(str::kNoDisplay, language) << '\n';
        return 1;
    }

    const DesktopPart desktop(DesktopPart::candidates(DesktopPart::programFolder(argv[0]), KORVIN_RELATIVE_LIB_DIR));
    if (!desktop.entry()) {
        std::cerr << "korvin: " << strings.get(str::kDesktopPartMissing, language) << " (" << desktop.error() << ")\n";
        return 1;
    }
    return desktop.entry()(argc, argv);
}
