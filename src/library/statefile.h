#pragma once

#include <optional>
#include <string>
#include <vector>

namespace korvin {

// Reading and writing the program's own small text files (.dl).

// The lines of a text file without their line ends (LF, or CR LF); a last line
// without a line end counts. nullopt when the file cannot be opened or read.
std::optional<std::vector<std::string>> readTextLines(const std::string& path);

// Replaces the file at `path` with `contents` in one step: the bytes go to a
// temporary file in the same folder, are flushed to the disk and renamed over
// the old file, so a crash at any moment leaves the old or the new file, never
// neither. Returns false (and leaves the old file as it was) on any failure.
bool writeFileAtomically(const std::string& path, const std::string& contents);

}  // namespace korvin
