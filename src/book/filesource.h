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

    // The whole content of the file `name` of the book in `folder` (empty or
    // ending in "/"); nullopt when it cannot be opened or read as a file.
    virtual std::optional<std::string> read(const std::string& folder, std::string_view name) const = 0;
};

}  // namespace korvin
