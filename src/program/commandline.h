// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/stringtable.h"

namespace korvin {

// What the program was asked to do:
//   korvin [--home DIR] [BOOK]
//   korvin --dump-book BOOK
//   korvin --help | --version
struct CommandLine {
    std::optional<std::string> home;      // --home DIR (or --home=DIR)
    std::optional<std::string> book;      // opened after the start-up
    std::optional<std::string> dumpBook;  // --dump-book BOOK: print the book's tables, no window
    bool help = false;                    // --help / -h
    bool version = false;                 // --version
    // Qt's own options (-platform NAME, -style NAME, -reverse, ...), left for
    // Qt to take; a "--" spelling is kept as given.
    std::vector<std::string> qtOptions;

    // Why the arguments were not understood, and the argument concerned.
    enum class Mistake { kNone, kUnknownOption, kNoValue, kSecondBook, kDumpWithBook, kEmptyHome };
    Mistake mistake = Mistake::kNone;
    std::string mistaken;
    bool understood() const { return mistake == Mistake::kNone; }
};

// Reads the arguments after the program name. Qt's own options are taken
// as such; any other argument beginning with "-" (but "-" itself) is a mistake.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The mistake in the listener's language, for "korvin: " before it and the
// usage after it.
std::string mistakeText(const CommandLine& line, const StringTable& strings, int languageOffset);

// Whether no window could be shown: no platform chosen (by -platform or
// QT_QPA_PLATFORM) and neither DISPLAY nor WAYLAND_DISPLAY set. Null is unset.
bool displayMissing(const CommandLine& line, const char* qpaPlatform, const char* display, const char* waylandDisplay);

// The interface language of the environment as a language offset: 200
// (English) unless the first of LC_ALL, LC_MESSAGES and LANG that is set and
// not empty names German ("de", "de_DE.UTF-8", ...); 0 then. Null is unset.
int environmentLanguageOffset(const char* lcAll, const char* lcMessages, const char* lang);

// The texts printed for --help (and after a mistake) and --version.
std::string usageText(const StringTable& strings, int languageOffset);
std::string versionText(const StringTable& strings, int languageOffset);

}  // namespace korvin
