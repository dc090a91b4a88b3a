// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace korvin::bench {

// The shape of a generated book.
struct BookShape {
    int headings = 3000;       // on three levels: 1, 2, 3, 3, 2, 3, 3, 1, ...
    int parsPerHeading = 50;   // one SMIL file per heading
    int pagesPerHeading = 5;   // page lines in the NCC
    int headingsPerGroup = 2;  // a group line after every second heading
    // Text documents the pars point into, each holding the paragraphs of a
    // run of headings, with `textBytes` of text in all; without documents
    // the pars name one per heading that does not exist.
    int documents = 0;
    std::size_t textBytes = 0;
    // Every n-th paragraph holds the word "Vertrag"; the others never do.
    int commonWordEvery = 20;
};

// A large DAISY 2.02 book written once into a fresh temporary folder, removed
// again with the object: NCC, one SMIL file per heading, in the layout real
// books have (one element per line, pars over several lines, some of them
// footnotes and page numbers).
class GeneratedBook {
public:
    explicit GeneratedBook(const BookShape& shape = BookShape());
    // Into `folder` (created when missing), which is kept: for benchmarks
    // that run the program on the book.
    GeneratedBook(const BookShape& shape, const std::filesystem::path& folder);
    ~GeneratedBook();
    GeneratedBook(const GeneratedBook&) = delete;
    GeneratedBook& operator=(const GeneratedBook&) = delete;

    // Ends in "/".
    std::string folder() const { return m_folder.string() + "/"; }
    // "ncc.html" and every SMIL file, relative to the folder.
    const std::vector<std::string>& fileNames() const { return m_files; }
    std::size_t nccBytes() const { return m_nccBytes; }
    std::size_t totalBytes() const { return m_totalBytes; }
    int phrases() const { return m_phrases; }
    // The text documents, relative to the folder, and the bytes of their text.
    const std::vector<std::string>& documentNames() const { return m_documents; }
    std::size_t textBytes() const { return m_textBytes; }
    std::size_t documentBytes() const { return m_documentBytes; }

private:
    void generate(const BookShape& shape);
    void write(const std::string& name, const std::string& text);
    void writeDocuments(const BookShape& shape, const std::vector<std::vector<int>>& parsOfDocument);

    std::filesystem::path m_folder;
    bool m_kept = false;
    std::vector<std::string> m_files;
    std::size_t m_nccBytes = 0;
    std::size_t m_totalBytes = 0;
    int m_phrases = 0;
    std::vector<std::string> m_documents;
    std::size_t m_textBytes = 0;
    std::size_t m_documentBytes = 0;
};

}  // namespace korvin::bench
