// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "library/scrambler.h"

namespace korvin {

// The file that keeps the books found on one drive: one book folder per
// line, each line scrambled and ended by a line end.
class BookListFile {
public:
    // A larger file is not read at all; of more lines, the first are taken.
    static constexpr std::size_t kMaxBytes = std::size_t{16} << 20;
    static constexpr std::size_t kMaxLines = 100000;

    // The file of the drive at `root`, in `folder` (the start directory):
    // "Buecher_" + a key of the root that is safe as a file name + ".dl". Two
    // roots never share a key.
    BookListFile(const std::string& folder, const std::string& root, const Scrambler& scrambler);

    static std::string nameFor(const std::string& root);
    const std::string& path() const { return m_path; }

    // The folders, unscrambled, without empty lines; empty when there is no
    // file or it cannot be read.
    std::vector<std::string> read() const;
    // Replaces the file in one step; false when it cannot be written.
    bool write(const std::vector<std::string>& folders) const;

private:
    std::string m_path;
    const Scrambler& m_scrambler;
};

}  // namespace korvin
