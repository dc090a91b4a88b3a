#include "book/memoryfilesource.h"

namespace korvin {

std::optional<std::string> MemoryFileSource::read(const std::string& folder, std::string_view name) const
{
    std::string path = folder;
    path += name;
    const auto found = m_files.find(path);
    if (found == m_files.end())
        return std::nullopt;
    return found->second;
}

}  // namespace korvin
