// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <zip.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "book/archivemembers.h"
#include "platform/bookarchives.h"

namespace korvin {

// A zip archive read with libzip. Every member was checked when it was
// opened; reading and unpacking hold to the sizes its directory declared, so
// data that unpacks to more than it says is refused as damaged, never
// written out.
class ZipArchive final : public BookArchive {
public:
    // Opens the regular file at `path` (a pipe or a device is refused, never
    // waited on) and checks its members; files are unpacked below
    // `unpackFolder` (ending in "/").
    static BookArchives::Opened open(const std::string& path, std::string unpackFolder);

    ~ZipArchive() override;

    const std::vector<std::string>& fileNames() const override { return m_names; }
    bool read(std::string_view name, std::string& bytes, std::size_t maxBytes) const override;
    const std::string& unpackFolder() const override { return m_folder; }
    bool unpack(std::string_view name) override;

    // What is left free on a disk after unpacking: a book never fills it.
    static constexpr std::uint64_t kDiskReserveBytes = std::uint64_t{256} << 20;

private:
    struct Closer {
        void operator()(zip_t* archive) const { zip_discard(archive); }
    };
    struct Member {
        zip_uint64_t index = 0;
        std::uint64_t size = 0;
    };

    ZipArchive(std::unique_ptr<zip_t, Closer> archive, std::string folder);
    const Member* member(std::string_view name) const;
    template <typename Sink>
    bool readMember(const Member& member, Sink&& sink) const;

    std::unique_ptr<zip_t, Closer> m_archive;
    std::string m_folder;
    std::vector<std::string> m_names;
    std::unordered_map<std::string, Member> m_members;
};

}  // namespace korvin
