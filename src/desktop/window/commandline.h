#pragma once

#include <optional>
#include <string>
#include <vector>

namespace korvin {

// What the program was asked to do:
//   korvin [--home DIR] [BOOK]
//   korvin --dump-book BOOK
struct CommandLine {
    std::optional<std::string> home;      // --home DIR (or --home=DIR)
    std::optional<std::string> book;      // opened after the start-up
    std::optional<std::string> dumpBook;  // --dump-book BOOK: print the book's tables, no window
    bool help = false;                    // --help / -h
    std::string error;                    // why the arguments were not understood; empty when they were
};

// Reads the arguments after the program name. Qt's own options (those the
// QApplication constructor takes out) are not expected here.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The text printed for --help and after a mistake.
std::string usageText();

}  // namespace korvin
