// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace korvin::bench {

// A large DAISY 3 book written once into a fresh temporary folder, removed
// again with the object, in the layout production tools write: a package
// file, a navigation file with nested navPoints (levels 1, 2, 3, 3, 2, 3, 3,
// ...), a page list and a list of notes, and SMIL 2 files whose pars are
// written over several lines, some of them in note seqs or marked as page
// numbers: one file per heading, as the sample DAISY 3 book has them, or one
// per section of `headingsPerSmil` headings.
class GeneratedDaisy3Book {
public:
    explicit GeneratedDaisy3Book(int headingsPerSmil = 1, int headings = 3000, int parsPerHeading = 50,
                                 int pagesPerHeading = 5);
    ~GeneratedDaisy3Book();
    GeneratedDaisy3Book(const GeneratedDaisy3Book&) = delete;
    GeneratedDaisy3Book& operator=(const GeneratedDaisy3Book&) = delete;

    // Ends in "/".
    std::string folder() const { return m_folder.string() + "/"; }
    static constexpr const char* kPackageName = "book.opf";
    // The package file, the navigation file and every SMIL file, relative to
    // the folder.
    const std::vector<std::string>& fileNames() const { return m_files; }
    std::size_t totalBytes() const { return m_totalBytes; }
    int phrases() const { return m_phrases; }

private:
    void write(const std::string& name, const std::string& text);

    std::filesystem::path m_folder;
    std::vector<std::string> m_files;
    std::size_t m_totalBytes = 0;
    int m_phrases = 0;
};

}  // namespace korvin::bench
