// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

#include "book/filesource.h"
#include "book/regularfile.h"

namespace korvin {

// Book files from the disk, found by letter case as findBookFile() says, and
// read under the rule of readRegularFile().
class DiskFileSource : public FileSource {
public:
    static constexpr std::size_t kMaxFileBytes = kMaxBookFileBytes;

    using FileSource::read;
    bool read(const std::string& folder, std::string_view name, std::string& bytes) const override;
};

}  // namespace korvin
