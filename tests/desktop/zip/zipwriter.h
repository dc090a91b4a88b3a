// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace korvin::test {

// Writes zip archives for the tests with libzip, and the archives libzip
// would never write by patching the bytes it wrote.
struct ZipEntry {
    std::string name;  // as it is stored: raw bytes, "..", absolute, whatever the case needs
    std::string bytes;
    bool link = false;       // marked a symbolic link (Unix mode S_IFLNK)
    bool encrypted = false;  // its flags say it is encrypted
    bool damaged = false;    // its data fails its checksum
};

// The archive's bytes; members are deflated unless `stored`.
std::string zipBytes(const std::vector<ZipEntry>& entries, bool stored = false);

}  // namespace korvin::test
