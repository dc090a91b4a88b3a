// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvin {

// Where the book reader gets the bytes of a book's files: the disk in the
// program, memory in tests and fuzzing.
class FileSource {
public:
    virtual ~FileSource() = default;

    // Reads the whole content of the file `name` of the book in `folder`
    // (empty or ending in "/") into `bytes`, reusing its storage; false, with
    // `bytes` empty, when it cannot be opened or read as a file.
    virtual bool read(const std::string& folder, std::string_view name, std::string& bytes) const = 0;

    // The same into a new string; nullopt when it cannot be read.
    std::optional<std::string> read(const std::string& folder, std::string_view name) const
    {
        std::string bytes;
        if (!read(folder, name, bytes))
            return std::nullopt;
        return bytes;
    }
};

}  // namespace korvin
