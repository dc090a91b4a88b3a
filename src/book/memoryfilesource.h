// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>

#include "book/filesource.h"

namespace korvin {

// Book files held in memory, by path (folder + name, exactly as the reader
// asks for them). For tests and the fuzzer.
class MemoryFileSource : public FileSource {
public:
    void add(std::string path, std::string bytes) { m_files[std::move(path)] = std::move(bytes); }
    using FileSource::read;
    bool read(const std::string& folder, std::string_view name, std::string& bytes) const override;

private:
    std::map<std::string, std::string, std::less<>> m_files;
};

}  // namespace korvin
