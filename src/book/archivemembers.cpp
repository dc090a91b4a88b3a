// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/archivemembers.h"

namespace korvin {

namespace {

bool tooTightlyPacked(std::uint64_t size, std::uint64_t packedSize)
{
    return size > kRatioFreeBytes && size / kMaxPackingRatio > packedSize;
}

}  // namespace

bool isSafeMemberName(std::string_view name)
{
    if (name.empty() || name.front() == '/' || (name.size() >= 2 && name[1] == ':'))
        return false;
    for (const char ch : name)
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F)
            return false;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = name.find('/', start);
        if (name.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start) == "..")
            return false;
        if (slash == std::string_view::npos)
            return true;
        start = slash + 1;
    }
}

std::optional<BookArchives::Fault> checkArchiveMembers(const std::vector<ArchiveMember>& members)
{
    if (members.size() > kMaxArchiveMembers)
        return BookArchives::Fault::kTooManyMembers;
    std::uint64_t size = 0;
    std::uint64_t packedSize = 0;
    bool encrypted = false;
    for (const ArchiveMember& member : members) {
        if (member.link || !isSafeMemberName(member.name))
            return BookArchives::Fault::kUnsafeMember;
        encrypted = encrypted || member.encrypted;
    }
    for (const ArchiveMember& member : members) {
        if (member.size > kMaxArchiveUnpackedBytes || tooTightlyPacked(member.size, member.packedSize))
            return BookArchives::Fault::kTooLarge;
        size += member.size;
        packedSize += member.packedSize;
        if (size > kMaxArchiveUnpackedBytes)
            return BookArchives::Fault::kTooLarge;
    }
    if (tooTightlyPacked(size, packedSize))
        return BookArchives::Fault::kTooLarge;
    if (encrypted)
        return BookArchives::Fault::kEncrypted;
    return std::nullopt;
}

}  // namespace korvin
