// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/fakearchives.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace korvin::test {

namespace {

class FakeArchive final : public BookArchive {
public:
    FakeArchive(const std::map<std::string, std::string>& files, std::string folder, int number,
                std::vector<std::string>& unpacked)
        : m_files(files)
        , m_folder(std::move(folder))
        , m_number(number)
        , m_unpacked(unpacked)
    {
        for (const auto& file : m_files)
            m_names.push_back(file.first);
    }
    ~FakeArchive() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    const std::vector<std::string>& fileNames() const override { return m_names; }
    bool read(std::string_view name, std::string& bytes, std::size_t maxBytes) const override
    {
        const auto found = m_files.find(std::string(name));
        bytes.clear();
        if (found == m_files.end() || found->second.size() > maxBytes)
            return false;
        bytes = found->second;
        return true;
    }
    const std::string& unpackFolder() const override { return m_folder; }
    bool unpack(std::string_view name) override
    {
        const auto found = m_files.find(std::string(name));
        if (found == m_files.end())
            return false;
        const std::filesystem::path path = m_folder + found->first;
        if (std::filesystem::exists(path))
            return true;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << found->second;
        m_unpacked.push_back(std::to_string(m_number) + ":" + found->first);
        return true;
    }

private:
    std::map<std::string, std::string> m_files;
    std::vector<std::string> m_names;
    std::string m_folder;
    int m_number;
    std::vector<std::string>& m_unpacked;
};

}  // namespace

void FakeBookArchives::addFiles(const std::string& path, std::map<std::string, std::string> files)
{
    m_archives[path] = std::move(files);
}

BookArchives::Opened FakeBookArchives::open(const std::string& path) const
{
    if (const auto fault = m_faults.find(path); fault != m_faults.end())
        return Opened{nullptr, fault->second};
    const auto found = m_archives.find(path);
    if (found == m_archives.end())
        return Opened{nullptr, Fault::kUnreadable};
    const int number = openings++;
    return Opened{std::make_unique<FakeArchive>(found->second, unpackFolder(number), number, unpacked),
                  Fault::kUnreadable};
}

}  // namespace korvin::test
