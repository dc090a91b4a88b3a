// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <set>
#include <string>
#include <vector>

namespace korvin {

// The folders of a list of books in the order found. A folder is not added
// when a folder listed before it is it or lies inside it (by whole path
// components: "x/books2" lies not inside "x/books").
class ListedFolders {
public:
    // Whether `folder` (without a trailing "/", or "/") was added.
    bool add(const std::string& folder);
    std::vector<std::string> take() { return std::move(m_inOrder); }

private:
    std::set<std::string> m_sorted;
    std::vector<std::string> m_inOrder;
};

// The walk of a drive for books: every folder below `root`, depth first in
// the order the file system lists them, a folder scanned as soon as it is met.
//
// A file named "ncc.html" or "*.opf" (in any letter case) makes its folder a
// book (the title scan then tells whether it is one); a file named "*.zip"
// is listed itself, as a zipped book may be, unless it lies beside a book's
// own files; a
// file named "discinfo.html" (in any letter case) adds the folder of every
// relative link "./…/ncc.html" it holds (a disc of several books; "\" counts
// as "/" there, as discs made on Windows write ".\title1\ncc.html"). A folder is
// added unless a folder listed before it is it or lies inside it, by whole
// path components. Paths keep their letter case.
//
// The walk never follows a symbolic link, stays on the volume of `root`,
// passes over folders it may not read, and holds no more than a bounded
// number of folders open however deep the tree. A discinfo link that leaves
// the volume, runs through a link or names no folder is passed over.
//
// Runs on any thread; touches nothing but the file system. When `cancelled`
// turns true it returns soon with what it found so far.
//
// Returns the folders and zip files found, without a trailing "/" (`root`
// itself may be one).
std::vector<std::string> scanForBooks(const std::string& root, const std::atomic<bool>& cancelled);

}  // namespace korvin
