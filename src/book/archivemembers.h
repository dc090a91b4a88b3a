// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bookarchives.h"

namespace korvin {

// What the central directory of a zip archive says of one member.
struct ArchiveMember {
    std::string name;            // as written, "\" already turned into "/"
    std::uint64_t size = 0;      // unpacked
    std::uint64_t packedSize = 0;
    bool link = false;           // a symbolic link
    bool encrypted = false;
};

// The bounds a zipped book stays within. A book on a DVD holds a few GB;
// audio and text pack to about their own size, XML at most a few dozen
// times smaller; a zip bomb packs a thousand times smaller.
inline constexpr std::uint64_t kMaxArchiveUnpackedBytes = std::uint64_t{8} << 30;
inline constexpr std::size_t kMaxArchiveMembers = 100000;
inline constexpr std::uint64_t kMaxPackingRatio = 100;
// A member smaller than this may pack as tightly as it likes.
inline constexpr std::uint64_t kRatioFreeBytes = std::uint64_t{1} << 20;

// Whether `name` may be unpacked below a folder: not empty, not absolute
// ("/x", "C:x"), no part "..", no NUL or other control character.
bool isSafeMemberName(std::string_view name);

// Why the members of an archive refuse it; nullopt when they may be read: an
// unsafe name or a link is kUnsafeMember; more than kMaxArchiveMembers
// members is kTooManyMembers; more than kMaxArchiveUnpackedBytes in all, or a
// member (or the whole) of more than kRatioFreeBytes that unpacks to more
// than kMaxPackingRatio times its packed size is kTooLarge; an encrypted
// member is kEncrypted.
std::optional<BookArchives::Fault> checkArchiveMembers(const std::vector<ArchiveMember>& members);

}  // namespace korvin
