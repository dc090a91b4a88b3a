// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/memoryfilesource.h"

namespace korvin {

bool MemoryFileSource::read(const std::string& folder, std::string_view name, std::string& bytes) const
{
    std::string path = folder;
    path += name;
    const auto found = m_files.find(path);
    if (found == m_files.end()) {
        bytes.clear();
        return false;
    }
    bytes = found->second;
    return true;
}

}  // namespace korvin
