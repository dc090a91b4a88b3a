// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

namespace korvin::test {

// A fresh folder below the system's temporary folder, removed with everything
// in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The folder as text, ending in "/".
    std::string folder() const { return m_path.string() + "/"; }
    // Writes `bytes` to `name` below the folder (creating sub-folders) and
    // returns the file's path.
    std::filesystem::path write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;

private:
    std::filesystem::path m_path;
};

}  // namespace korvin::test
