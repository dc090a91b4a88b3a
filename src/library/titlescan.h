#pragma once

#include <optional>
#include <string>

namespace korvin {

// The title of a book as a list of books shows it: the text of the first
// heading of its "ncc.html" (found in `folder` in any letter case), read by
// the reader's title rule and decoded with the book's character set. Empty
// when the file has no heading or the heading has no text; nullopt when the
// file cannot be read.
std::optional<std::string> scanTitle(const std::string& folder);

}  // namespace korvin
