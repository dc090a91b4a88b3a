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
};

// A large DAISY 2.02 book written once into a fresh temporary folder, removed
// again with the object: NCC, one SMIL file per heading, in the layout real
// books have (one element per line, pars over several lines, some of them
// footnotes and page numbers).
class GeneratedBook {
public:
    explicit GeneratedBook(const BookShape& shape = BookShape());
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

private:
    void write(const std::string& name, const std::string& text);

    std::filesystem::path m_folder;
    std::vector<std::string> m_files;
    std::size_t m_nccBytes = 0;
    std::size_t m_totalBytes = 0;
    int m_phrases = 0;
};

}  // namespace korvin::bench
