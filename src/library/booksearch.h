// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "library/booklistfile.h"
#include "platform/bookarchives.h"
#include "platform/library.h"
#include "platform/messagebox.h"
#include "platform/waitwindow.h"
#include "ui/stringtable.h"

namespace korvin {

// The list of the book search dialog for one drive: the books of its list
// file, or, when the listener asks for it, the books a walk of the drive
// finds, each with the title of its first heading.
//
// The walk runs on a worker thread behind the wait window; Escape ends it
// with what was found so far, shown but not kept: the list file only ever
// holds the books of a complete walk. Everything else runs on the UI thread.
class BookSearch final : public BookList {
public:
    struct Services {
        WaitWindow& waitWindow;
        MessageBoxes& messageBoxes;
        const BookArchives& archives;  // for the titles of zipped books
    };

    BookSearch(std::string root, const BookListFile& file, const StringTable& strings, int languageOffset,
               Services services);

    // The first showing: the books of the list file whose navigation or
    // package file can still be read (a disc taken out drops its books for
    // this showing; the file keeps them).
    void load();

    std::vector<std::string> lines() const override;
    int currentLine() const override { return m_folders.empty() ? 0 : 1; }
    void makeList() override;
    std::string folder(int line) const override;

private:
    const std::string& text(int id) const { return m_strings.get(id, m_languageOffset); }

    std::string m_root;
    const BookListFile& m_file;
    const StringTable& m_strings;
    int m_languageOffset;
    Services m_services;
    std::vector<std::string> m_folders;
    std::vector<std::string> m_titles;
};

}  // namespace korvin
