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
    std::string error;                    // why the arguments were not understood; empty when they were
};

// Reads the arguments after the program name. Qt's own options (those the
// QApplication constructor takes out) are not expected here.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The interface language of the environment as a language offset: 200
// (English) unless the first of LC_ALL, LC_MESSAGES and LANG that is set and
// not empty names German ("de", "de_DE.UTF-8", ...); 0 then. Null is unset.
int environmentLanguageOffset(const char* lcAll, const char* lcMessages, const char* lang);

// The texts printed for --help (and after a mistake) and --version.
std::string usageText(const StringTable& strings, int languageOffset);
std::string versionText(const StringTable& strings, int languageOffset);

}  // namespace korvin
