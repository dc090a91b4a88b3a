// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace korvin {

// The path to open for a file of a book: `folder` (empty or ending in "/")
// followed by `name`, a name relative to it that may run through sub-folders
// ("audio/Part1.MP3").
//
// Books made on systems whose file names ignore letter case often name a file
// "NCC.HTML" or "Speechgen0001.MP3" while the text says otherwise. When the
// exact path does not exist, each part of `name` that does not exist as
// written is replaced by the entry of its folder whose name is the same
// without regard to letter case (ASCII letters and the Latin-1 capitals of
// UTF-8); of several such entries the first in byte order is taken. When no
// entry matches, the part stays as written, so the path returned then names
// nothing and opening it fails. The folder itself is taken as given.
std::string findBookFile(std::string_view folder, std::string_view name);

// The path to open for `path`, a file of the book in `bookFolder`: the file
// under its exact name, or under the one name of its folder that matches it
// without regard to letter case.
std::string openableBookPath(const std::string& bookFolder, const std::string& path);

}  // namespace korvin
