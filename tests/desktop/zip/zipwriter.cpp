// SPDX-License-Identifier: GPL-3.0-or-later
#include "zipwriter.h"

#include <sys/stat.h>
#include <zip.h>

#include <cstdint>
#include <memory>
#include <stdexcept>

namespace korvin::test {

namespace {

constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::uint32_t kEndSignature = 0x06054b50;

std::uint32_t le32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

std::uint16_t le16(const std::string& bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

// Sets the "encrypted" flag of member `index` in its local and central
// headers, or turns its stored CRC around. Small archives only (no zip64).
void patch(std::string& bytes, std::size_t index, bool encrypted, bool damaged)
{
    std::size_t end = bytes.size() - 22;
    while (end > 0 && le32(bytes, end) != kEndSignature)
        --end;
    std::size_t at = le32(bytes, end + 16);
    for (std::size_t seen = 0; seen < index; ++seen)
        at += 46 + le16(bytes, at + 28) + le16(bytes, at + 30) + le16(bytes, at + 32);
    const std::size_t local = le32(bytes, at + 42);
    if (le32(bytes, at) != kCentralSignature || le32(bytes, local) != kLocalSignature)
        throw std::runtime_error("not the zip archive libzip writes");
    if (encrypted) {
        bytes[at + 8] = static_cast<char>(bytes[at + 8] | 1);
        bytes[local + 6] = static_cast<char>(bytes[local + 6] | 1);
    }
    if (damaged) {
        for (const std::size_t crc : {at + 16, local + 14})
            bytes[crc] = static_cast<char>(~bytes[crc]);
    }
}

}  // namespace

std::string zipBytes(const std::vector<ZipEntry>& entries, bool stored)
{
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, nullptr);
    if (!buffer)
        throw std::runtime_error("no zip source");
    zip_source_keep(buffer);
    const std::unique_ptr<zip_source_t, decltype(&zip_source_free)> keep(buffer, &zip_source_free);
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, nullptr);
    if (!archive)
        throw std::runtime_error("no zip archive");
    for (const ZipEntry& entry : entries) {
        zip_source_t* data = zip_source_buffer(archive, entry.bytes.data(), entry.bytes.size(), 0);
        const zip_int64_t index = zip_file_add(archive, entry.name.c_str(), data, ZIP_FL_ENC_GUESS);
        if (index < 0)
            throw std::runtime_error("zip_file_add: " + entry.name);
        const auto at = static_cast<zip_uint64_t>(index);
        zip_set_file_compression(archive, at, stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 9);
        const zip_uint32_t mode = entry.link ? (S_IFLNK | 0777) : (S_IFREG | 0644);
        zip_file_set_external_attributes(archive, at, 0, ZIP_OPSYS_UNIX, mode << 16);
    }
    if (zip_close(archive) != 0)
        throw std::runtime_error("zip_close");

    std::string bytes;
    if (zip_source_open(buffer) != 0)
        throw std::runtime_error("zip_source_open");
    char chunk[65536];
    for (zip_int64_t got; (got = zip_source_read(buffer, chunk, sizeof chunk)) > 0;)
        bytes.append(chunk, static_cast<std::size_t>(got));
    zip_source_close(buffer);
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].encrypted || entries[i].damaged)
            patch(bytes, i, entries[i].encrypted, entries[i].damaged);
    return bytes;
}

}  // namespace korvin::test
