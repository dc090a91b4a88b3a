// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvin {

// One line of the kernel's table of mounts (/proc/self/mountinfo), with the
// octal escapes of its paths (\040 for a space) decoded.
struct Mount {
    std::string root;  // the folder of the file system mounted there ("/" unless a bind or a subvolume)
    std::string mountPoint;
    std::string fsType;
    std::string source;
    std::string subvolume;  // the subvolume the mount belongs to (btrfs "subvol="), empty when none
};

// The mounts of `text` in order. Lines that do not have the table's shape are
// passed over.
std::vector<Mount> parseMountInfo(std::string_view text);

// Whether a listener would call the mount a drive: a whole disk, stick, CD or
// DVD, or a network share, mounted where people keep files; a subvolume of
// such a disk counts as a drive of its own (btrfs systems mount "/" and
// "/home" that way). Never a pseudo file system, a container's overlay, a
// snap's squashfs, a bound single folder or a system folder such as /boot.
bool isDriveMount(const Mount& mount);

}  // namespace korvin
