// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/mountinfo.h"

#include <algorithm>
#include <array>

#include "book/linereader.h"

namespace korvin {

namespace {

// File systems of disks, sticks, discs and shares. Everything else (proc,
// sysfs, tmpfs, cgroup, overlay, squashfs, fuse helpers, ...) is not a drive.
constexpr std::array<std::string_view, 26> kDriveTypes = {
    "ext2",  "ext3",   "ext4",  "xfs",   "btrfs",  "f2fs",    "jfs",    "reiserfs", "zfs",
    "vfat",  "msdos",  "exfat", "ntfs",  "ntfs3",  "fuseblk", "hfs",    "hfsplus",  "apfs",
    "iso9660", "udf",  "nfs",   "nfs4",  "cifs",   "smb3",    "fuse.sshfs", "9p"};

// Folders of the system itself, never a place for books. Systems on btrfs
// mount many of them as subvolumes (/var, /opt, /root, /usr/local and the
// snapshots of the system itself on openSUSE).
constexpr std::array<std::string_view, 13> kSystemFolders = {
    "/proc", "/sys", "/dev", "/boot", "/efi", "/snap", "/run", "/var", "/usr", "/opt", "/root", "/tmp", "/.snapshots"};

std::string decodeEscapes(std::string_view field)
{
    const auto octal = [](char c) { return c >= '0' && c <= '7'; };
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && octal(field[i + 1]) && octal(field[i + 2]) &&
            octal(field[i + 3])) {
            out += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0'));
            i += 3;
            continue;
        }
        out += field[i];
    }
    return out;
}

std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(' ', at);
        if (start == std::string_view::npos)
            break;
        const std::size_t end = std::min(line.find(' ', start), line.size());
        fields.push_back(line.substr(start, end - start));
        at = end;
    }
    return fields;
}

// The value of "subvol=" among the comma-separated super options; commas
// inside a value are written as an octal escape.
std::string subvolumeOf(std::string_view superOptions)
{
    constexpr std::string_view kKey = "subvol=";
    std::size_t at = 0;
    while (at <= superOptions.size()) {
        const std::size_t end = std::min(superOptions.find(',', at), superOptions.size());
        const std::string_view option = superOptions.substr(at, end - at);
        if (option.substr(0, kKey.size()) == kKey)
            return decodeEscapes(option.substr(kKey.size()));
        at = end + 1;
    }
    return std::string();
}

bool isInside(std::string_view path, std::string_view folder)
{
    return path == folder || (path.size() > folder.size() && path.substr(0, folder.size()) == folder &&
                              path[folder.size()] == '/');
}

// A whole file system or a whole subvolume of one, not a folder bound from
// inside it: a subvolume's mount shows the subvolume as its root, a bind of a
// folder shows that folder, which lies inside its subvolume.
bool isWholeVolume(const Mount& mount)
{
    return mount.root == "/" || (!mount.subvolume.empty() && mount.root == mount.subvolume);
}

}  // namespace

std::vector<Mount> parseMountInfo(std::string_view text)
{
    std::vector<Mount> mounts;
    LineReader lines(text);
    while (const auto line = lines.next()) {
        const std::vector<std::string_view> fields = splitFields(*line);
        // id parent major:minor root mount-point options [optional...] - type source super-options
        const auto separator = std::find(fields.begin(), fields.end(), std::string_view("-"));
        if (fields.size() < 6 || separator == fields.end() || separator - fields.begin() < 6 ||
            fields.end() - separator < 3)
            continue;
        mounts.push_back(Mount{decodeEscapes(fields[3]), decodeEscapes(fields[4]), std::string(separator[1]),
                               decodeEscapes(separator[2]),
                               fields.end() - separator > 3 ? subvolumeOf(separator[3]) : std::string()});
    }
    return mounts;
}

bool isDriveMount(const Mount& mount)
{
    if (!isWholeVolume(mount) || mount.mountPoint.empty() || mount.mountPoint.front() != '/')
        return false;
    if (std::find(kDriveTypes.begin(), kDriveTypes.end(), mount.fsType) == kDriveTypes.end())
        return false;
    // Removable media appear below /run/media on some systems.
    if (isInside(mount.mountPoint, "/run/media"))
        return true;
    return std::none_of(kSystemFolders.begin(), kSystemFolders.end(),
                        [&](std::string_view folder) { return isInside(mount.mountPoint, folder); });
}

}  // namespace korvin
