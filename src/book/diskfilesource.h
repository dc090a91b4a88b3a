#pragma once

#include <cstddef>

#include "book/filesource.h"

namespace korvin {

// Book files from the disk, found by letter case as findBookFile() says.
// Only regular files are read: a folder, a device or a named pipe counts as a
// file that cannot be opened (a pipe would otherwise hold the reading
// forever). A file larger than kMaxFileBytes, or a name with a NUL byte in
// it, also cannot be opened.
class DiskFileSource : public FileSource {
public:
    static constexpr std::size_t kMaxFileBytes = std::size_t{1} << 30;

    using FileSource::read;
    bool read(const std::string& folder, std::string_view name, std::string& bytes) const override;

    // The content of the file at `path` under the same rules, without the
    // letter-case search.
    static bool readFile(const std::string& path, std::string& bytes);
};

}  // namespace korvin
