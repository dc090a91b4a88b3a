// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "book/booktables.h"
#include "book/filesource.h"
#include "platform/dialogs.h"

namespace korvin {

// Reads a DAISY 3 book into the same tables as a DAISY 2.02 book: its package
// file (*.opf), its navigation file (*.ncx) and the SMIL files of its spine,
// in one pass.
//
// Headings come from the navMap, one per navPoint, their level its depth
// (1 to 6, deeper ones 6), in the order of the file; pages from the pageList;
// groups from the navLists of notes, annotations, sidebars and producer notes;
// phrases from the pars of the SMIL files in the order of the spine (see
// SmilPhraseWriter for which heading holds which phrase).
//
// Like the NCC reader it empties the heading, phrase and page tables and the
// tree first, shows no message and reports its progress synchronously; it
// returns kFailed, with the tables empty, only when the package file cannot be
// read. Everything else that is missing or malformed is passed over: a
// missing navigation file gives a book of one heading, the title; a missing
// SMIL file gives no phrases; an XML fault ends that file's reading where it
// stands.
class Daisy3Reader {
public:
    enum Result { kRead = 1, kFailed = 2 };

    // `packageName`: the package file, relative to `bookFolder` (which ends
    // in "/"). `of` is string 40 + offset, for the status "3 von 15".
    // `files` must outlive the reader.
    Daisy3Reader(BookTables& tables, std::string bookFolder, std::string packageName, std::string of,
                 const FileSource& files);
    // Reads from the disk.
    Daisy3Reader(BookTables& tables, std::string bookFolder, std::string packageName, std::string of);
    ~Daisy3Reader();

    Result read(ReadProgress& progress);

    // Valid after a reading that returned kRead. The code page is that of
    // the navigation file's declared encoding (65001, UTF-8, as a rule); the
    // texts of the tables and the book information are UTF-8.
    const BookInfo& info() const { return m_info; }
    const BookCredits& credits() const { return m_credits; }
    int codePage() const { return m_codePage; }
    const FeatureFlags& features() const { return m_features; }

private:

    BookTables& m_tables;
    std::string m_folder;
    std::string m_packageName;
    std::string m_of;
    std::unique_ptr<FileSource> m_ownFiles;
    const FileSource& m_files;

    BookInfo m_info;
    BookCredits m_credits;
    int m_codePage = 0;
    FeatureFlags m_features;
};

}  // namespace korvin
