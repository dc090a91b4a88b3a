// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

namespace korvin {

// Files a book names are read under one rule, by the book reader and by the
// text view alike: only a regular file is read. A folder, a device or a named
// pipe counts as a file that cannot be opened (a pipe would otherwise hold the
// reader forever, a device could feed it without end), and so does a file
// larger than `maxBytes` or a name with a NUL byte in it.
inline constexpr std::size_t kMaxBookFileBytes = std::size_t{1} << 30;

// Reads the whole file at `path` into `bytes`, reusing its storage; false,
// with `bytes` empty, when the rule refuses it or it cannot be read.
bool readRegularFile(const std::string& path, std::string& bytes, std::size_t maxBytes = kMaxBookFileBytes);

}  // namespace korvin
