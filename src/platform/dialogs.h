// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/library.h"

namespace korvin {

// What a long reading reports while it runs (the reading dialog's status line and
// progress bar).
class ReadProgress {
public:
    virtual ~ReadProgress() = default;
    virtual void setRange(int minimum, int maximum) = 0;
    virtual void setPosition(int position) = 0;
    virtual void setStatus(const std::string& text) = 0;
};

// Progress that nobody watches (a reading without its dialog).
class NoProgress final : public ReadProgress {
public:
    void setRange(int, int) override {}
    void setPosition(int) override {}
    void setStatus(const std::string&) override {}
};

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The modal dialogs the main window opens. Each returns when it has closed.
class Dialogs {
public:
    // The reading dialog's texts, taken from the string table by the caller.
    struct ReadingTexts {
        std::string caption;
        std::string groupText;
    };
    // The search dialog's texts, taken from the string table by the caller.
    struct SearchTexts {
        std::string caption;
        std::string prompt;
        std::string ok;
        std::string cancel;
    };
    // The go-to-page dialog's texts, taken from the string table by the caller.
    using PageTexts = SearchTexts;

    virtual ~Dialogs() = default;

    // Choose a book's "ncc.html". `filterText` names the filter ("NCC (ncc.html)"),
    // which matches "ncc.html" in any letter case; the chosen file must exist.
    // nullopt when cancelled. Does not change the current directory.
    virtual std::optional<std::string> openNccFile(const std::string& title,
                                                   const std::string& filterText,
                                                   const std::string& initialFolder) = 0;

    // The colour chooser with its custom-colour part open; nullopt when cancelled.
    virtual std::optional<Rgb> chooseColour(const Rgb& initial) = 0;

    // The modal reading dialog (`CA_Daisy`): shows the texts when the reading
    // starts, runs `reading` with the dialog as its progress, ignores Enter and
    // Escape, closes when `reading` returns and passes its result on.
    virtual int runReading(const ReadingTexts& texts, const std::function<int(ReadProgress&)>& reading) = 0;

    // The search dialog (`CA_Suche`): the prompt above one edit field, OK
    // (the default button) enabled once the field holds two characters, and
    // Cancel. The term as typed when confirmed; nullopt when cancelled.
    virtual std::optional<std::string> askSearchTerm(const SearchTexts& texts) = 0;

    // The go-to-page dialog (`CA_Seitenzahl`): the prompt, which names one
    // edit field that takes any characters, OK (the default button; Enter) and
    // Cancel (Escape). The text exactly as typed when confirmed, nothing
    // trimmed; nullopt when cancelled.
    virtual std::optional<std::string> askPageNumber(const PageTexts& texts) = 0;

    // The about box ("Info Korvin 2.0", "Korvin 2.0.1", OK).
    virtual void showAbout() = 0;

    // The drive dialog's texts, taken from the string table by the caller.
    struct DriveTexts {
        std::string caption;
        std::string driveColumn;
        std::string nameColumn;
        std::string ok;
        std::string cancel;
    };
    // The book search dialog's texts.
    struct BookSearchTexts {
        std::string caption;
        std::string ok;
        std::string cancel;
    };

    // The drive dialog (`CA_Laufwerke`): a list of `drives` (root and name
    // columns) with the first row current, OK and Cancel. OK, Enter or a
    // double click on a row choose its root; nullopt when cancelled.
    virtual std::optional<std::string> chooseDrive(const DriveTexts& texts, const std::vector<Drive>& drives) = 0;

    // The book search dialog (`CA_DaisySuche`): the lines of `list`, its
    // current line made current when first shown. Choosing line 0 (OK, Enter
    // or a double click) makes the list anew and keeps the dialog open with
    // the list focused; choosing another line returns its folder. nullopt
    // when cancelled.
    virtual std::optional<std::string> chooseBook(const BookSearchTexts& texts, BookList& list) = 0;
};

}  // namespace korvin
