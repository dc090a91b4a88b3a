// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/diskfilesource.h"

#include "book/bookfilepath.h"

namespace korvin {

bool DiskFileSource::read(const std::string& folder, std::string_view name, std::string& bytes) const
{
    std::string path = folder;
    path += name;
    // Books normally name their files as they are; the letter-case search
    // costs a folder listing and is only made when the exact name fails.
    if (readRegularFile(path, bytes))
        return true;
    const std::string found = findBookFile(folder, name);
    return found != path && readRegularFile(found, bytes);
}

}  // namespace korvin
