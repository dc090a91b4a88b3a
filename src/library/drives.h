// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "library/mountinfo.h"
#include "platform/library.h"

namespace korvin {

// The listener's home folder: $HOME when it names a folder, else the one of
// the user's account; empty when neither is known.
std::string homeFolder();

// The drives to offer, in order: `home` first (named `homeName`) when not
// empty, then every drive of `mounts` (isDriveMount), each mount point once.
// A volume's name is its label (`labels`: device path -> label) or else the
// last part of its mount point; a subvolume mounted elsewhere than "/" is
// named by its mount point, as its label is that of the whole disk.
std::vector<Drive> drivesOf(const std::string& home, const std::string& homeName, const std::vector<Mount>& mounts,
                            const std::vector<std::pair<std::string, std::string>>& labels);

// The same for this computer: its mounts and the labels of its block devices.
std::vector<Drive> listDrives(const std::string& homeName);

}  // namespace korvin
