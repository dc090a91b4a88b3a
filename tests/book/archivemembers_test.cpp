// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/archivemembers.h"

#include <gtest/gtest.h>

namespace korvin {
namespace {

using Fault = BookArchives::Fault;
constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;

ArchiveMember member(std::string name, std::uint64_t size = 10, std::uint64_t packedSize = 10)
{
    return ArchiveMember{std::move(name), size, packedSize, false, false};
}

TEST(ArchiveMembers, RefusesWhatCouldLeaveTheFolderLinksAndBombs)
{
    ArchiveMember link = member("Buch/audio.mp3");
    link.link = true;
    ArchiveMember encrypted = member("Buch/ncc.html");
    encrypted.encrypted = true;
    const struct {
        const char* what;
        std::vector<ArchiveMember> members;
        std::optional<Fault> fault;
    } cases[] = {
        {"a book in a folder", {member("Buch/"), member("Buch/ncc.html"), member("Buch/a b/ä.mp3")}, std::nullopt},
        {"dots that are names", {member("./Buch/..ncc.html"), member("Buch/.../x")}, std::nullopt},
        {"a parent at the start", {member("../ncc.html")}, Fault::kUnsafeMember},
        {"a parent inside", {member("Buch/../../etc/passwd")}, Fault::kUnsafeMember},
        {"a parent at the end", {member("Buch/..")}, Fault::kUnsafeMember},
        {"an absolute path", {member("/etc/passwd")}, Fault::kUnsafeMember},
        {"a drive letter", {member("C:/Buch/ncc.html")}, Fault::kUnsafeMember},
        {"an empty name", {member("")}, Fault::kUnsafeMember},
        {"a control character", {member("Buch/a\nb")}, Fault::kUnsafeMember},
        {"a link", {member("Buch/ncc.html"), link}, Fault::kUnsafeMember},
        {"an encrypted member", {encrypted}, Fault::kEncrypted},
        {"a link beside a bomb names the link", {member("x", 900 * kMiB, kMiB), link}, Fault::kUnsafeMember},
        {"a member a thousand times packed", {member("Buch/ncc.html", 1000 * kMiB, kMiB)}, Fault::kTooLarge},
        {"a hundred times packed passes", {member("Buch/ncc.html", 100 * kMiB, kMiB)}, std::nullopt},
        {"a small member packs as it likes", {member("Buch/ncc.html", kMiB, 1)}, std::nullopt},
        {"many small tight members", std::vector<ArchiveMember>(200, member("x", kMiB, kMiB / 1000)), Fault::kTooLarge},
        {"more than 8 GB unpacked", {member("a", 5000 * kMiB, 5000 * kMiB), member("b", 4000 * kMiB, 4000 * kMiB)},
         Fault::kTooLarge},
        {"one member of more than 8 GB", {member("a", (std::uint64_t{8} << 30) + 1, std::uint64_t{8} << 30)},
         Fault::kTooLarge},
        {"too many members", std::vector<ArchiveMember>(kMaxArchiveMembers + 1, member("x")), Fault::kTooManyMembers},
    };
    for (const auto& c : cases)
        EXPECT_EQ(checkArchiveMembers(c.members), c.fault) << c.what;
}

}  // namespace
}  // namespace korvin
