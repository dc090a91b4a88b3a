// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace korvin {

// Reading and writing the program's own small text files (.dl).

// A whole state file as read.
struct FileBytes {
    enum class Status {
        kRead,        // `bytes` holds the file
        kMissing,     // there is no file: an empty list, created when first written
        kUnreadable,  // not a plain file, no permission, an I/O error: it must
                      // not be replaced, or what is in it would be lost
    };
    Status status = Status::kMissing;
    std::string bytes;
};

// Reads the plain file at `path` in one piece. Never blocks on a pipe or a
// device standing under the name, never follows a device's endless bytes.
FileBytes readFileBytes(const std::string& path);

// The lines of a text file without their line ends (LF, or CR LF); a last line
// without a line end counts. nullopt when the file cannot be opened or read.
std::optional<std::vector<std::string>> readTextLines(const std::string& path);

// The calls that make a replacement last, in the order the writer makes them:
// sync the temporary file, rename it over the old one, sync the folder. Each
// one left empty is the system's own (fsync, rename); a test puts its own in
// to see the order.
struct DurableCalls {
    std::function<int(int fd)> sync;
    std::function<int(const char* from, const char* to)> rename;
};

// Replaces the file at `path` with `contents` in one step: the bytes go to a
// temporary file in the same folder, are flushed to the disk and renamed over
// the old file, so a crash at any moment leaves the old or the new file, never
// neither. Returns false (and leaves the old file as it was) on any failure.
bool writeFileAtomically(const std::string& path, const std::string& contents, const DurableCalls& calls = {});

}  // namespace korvin
