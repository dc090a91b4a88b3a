// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/zip/ziparchive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "book/filedescriptor.h"

namespace korvin {

namespace {

constexpr std::size_t kChunkBytes = std::size_t{1} << 20;

struct FileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

bool isLink(zip_t* archive, zip_uint64_t index)
{
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) != 0)
        return false;
    return system == ZIP_OPSYS_UNIX && ((attributes >> 16) & S_IFMT) == S_IFLNK;
}

bool writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool leavesDiskReserve(const std::string& folder, std::uint64_t size)
{
    struct statvfs disk {};
    if (::statvfs(folder.c_str(), &disk) != 0)
        return false;
    const std::uint64_t free = std::uint64_t{disk.f_bavail} * disk.f_frsize;
    return free >= size && free - size >= ZipArchive::kDiskReserveBytes;
}

}  // namespace

BookArchives::Opened ZipArchive::open(const std::string& path, std::string unpackFolder)
{
    using Fault = BookArchives::Fault;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat info {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return {nullptr, Fault::kUnreadable};
    int error = 0;
    std::unique_ptr<zip_t, Closer> archive(zip_fdopen(fd.get(), ZIP_RDONLY, &error));
    if (!archive)
        return {nullptr, Fault::kUnreadable};
    // libzip closes the descriptor with the archive.
    fd.release();

    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    if (count < 0)
        return {nullptr, Fault::kUnreadable};
    if (static_cast<std::uint64_t>(count) > kMaxArchiveMembers)
        return {nullptr, Fault::kTooManyMembers};
    std::vector<ArchiveMember> members;
    std::vector<zip_uint64_t> indices;
    members.reserve(static_cast<std::size_t>(count));
    for (zip_uint64_t index = 0; index < static_cast<zip_uint64_t>(count); ++index) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        // The name as UTF-8: libzip takes a name its flag does not mark as
        // UTF-8, and that is not valid UTF-8, for code page 437.
        if (zip_stat_index(archive.get(), index, ZIP_FL_ENC_GUESS, &stat) != 0 || !stat.name)
            return {nullptr, Fault::kUnreadable};
        ArchiveMember member;
        member.name = stat.name;
        std::replace(member.name.begin(), member.name.end(), '\\', '/');
        member.size = (stat.valid & ZIP_STAT_SIZE) ? stat.size : 0;
        member.packedSize = (stat.valid & ZIP_STAT_COMP_SIZE) ? stat.comp_size : 0;
        member.encrypted = (stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE;
        member.link = isLink(archive.get(), index);
        members.push_back(std::move(member));
        indices.push_back(index);
    }
    if (const auto fault = checkArchiveMembers(members))
        return {nullptr, *fault};

    std::unique_ptr<ZipArchive> opened(new ZipArchive(std::move(archive), std::move(unpackFolder)));
    for (std::size_t i = 0; i < members.size(); ++i) {
        ArchiveMember& member = members[i];
        if (member.name.back() == '/')
            continue;
        if (opened->m_members.try_emplace(member.name, Member{indices[i], member.size}).second)
            opened->m_names.push_back(std::move(member.name));
    }
    return {std::move(opened), Fault::kUnreadable};
}

ZipArchive::ZipArchive(std::unique_ptr<zip_t, Closer> archive, std::string folder)
    : m_archive(std::move(archive))
    , m_folder(std::move(folder))
{
}

ZipArchive::~ZipArchive()
{
    // An unpack folder that is no folder (the archive's own name, when
    // nothing is unpacked) is left alone.
    std::error_code ignored;
    if (std::filesystem::is_directory(std::filesystem::symlink_status(m_folder, ignored)))
        std::filesystem::remove_all(m_folder, ignored);
}

const ZipArchive::Member* ZipArchive::member(std::string_view name) const
{
    const auto found = m_members.find(std::string(name));
    return found == m_members.end() ? nullptr : &found->second;
}

// Hands the member's data to `sink` chunk by chunk. False when it cannot be
// read, its data is damaged (libzip checks the CRC at its end), or it holds
// more than its declared size.
template <typename Sink>
bool ZipArchive::readMember(const Member& member, Sink&& sink) const
{
    std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index(m_archive.get(), member.index, 0));
    if (!file)
        return false;
    std::vector<char> chunk(static_cast<std::size_t>(std::min<std::uint64_t>(member.size + 1, kChunkBytes)));
    std::uint64_t total = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(file.get(), chunk.data(), chunk.size());
        if (got < 0)
            return false;
        if (got == 0)
            return total == member.size;
        total += static_cast<std::uint64_t>(got);
        if (total > member.size || !sink(chunk.data(), static_cast<std::size_t>(got)))
            return false;
    }
}

bool ZipArchive::read(std::string_view name, std::string& bytes, std::size_t maxBytes) const
{
    bytes.clear();
    const Member* found = member(name);
    if (!found || found->size > maxBytes)
        return false;
    bytes.reserve(static_cast<std::size_t>(found->size));
    const bool read = readMember(*found, [&](const char* data, std::size_t size) {
        bytes.append(data, size);
        return true;
    });
    if (!read)
        bytes.clear();
    return read;
}

bool ZipArchive::unpack(std::string_view name)
{
    const Member* found = member(name);
    if (!found)
        return false;
    const std::filesystem::path target = m_folder + std::string(name);
    std::error_code error;
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(target, error)))
        return true;
    std::filesystem::create_directories(target.parent_path(), error);
    std::filesystem::permissions(m_folder, std::filesystem::perms::owner_all, error);
    if (error || !leavesDiskReserve(m_folder, found->size))
        return false;

    // Written beside its place and renamed into it when complete, so that a
    // file cut short by a fault is never taken for the member.
    const std::filesystem::path partial = target.string() + ".partial";
    FileDescriptor fd(::open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600));
    const bool written = fd.get() >= 0 && readMember(*found, [&](const char* data, std::size_t size) {
                             return writeAll(fd.get(), data, size);
                         });
    if (!written || ::close(fd.release()) != 0) {
        std::filesystem::remove(partial, error);
        return false;
    }
    std::filesystem::rename(partial, target, error);
    return !error;
}

}  // namespace korvin
