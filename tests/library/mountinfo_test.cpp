// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/mountinfo.h"

#include <gtest/gtest.h>

#include "library/drives.h"

namespace korvin {
namespace {

TEST(MountInfo, ParsesFieldsAndDecodesEscapes)
{
    const auto mounts = parseMountInfo(
        "36 35 98:0 /mnt1 /mnt/My\\040Stick rw,noatime master:1 shared:2 - vfat /dev/sdb1 rw\n"
        "broken line\n"
        "37 35 98:0 / /media/x rw - ext4\n");
    ASSERT_EQ(mounts.size(), 1u);
    EXPECT_EQ(mounts[0].root, "/mnt1");
    EXPECT_EQ(mounts[0].mountPoint, "/mnt/My Stick");
    EXPECT_EQ(mounts[0].fsType, "vfat");
    EXPECT_EQ(mounts[0].source, "/dev/sdb1");
}

TEST(MountInfo, OnlyVolumesAPersonCallsADriveAreDrives)
{
    const struct {
        const char* line;
        bool drive;
    } cases[] = {
        {"26 1 254:0 / / rw - ext4 /dev/vda rw", true},
        {"40 26 8:17 / /media/anna/STICK rw - vfat /dev/sdb1 rw", true},
        {"41 26 11:0 / /run/media/anna/CD rw - iso9660 /dev/sr0 ro", true},
        {"42 26 0:50 / /mnt/share rw - cifs //server/books rw", true},
        {"43 26 0:51 / /home/anna/remote rw - fuse.sshfs anna@host: rw", true},
        {"44 26 8:33 / /runner rw - ext4 /dev/sdd1 rw", true},  // only begins like /run
        {"45 26 8:34 / /bootleg rw - ext4 /dev/sdd2 rw", true},
        {"46 26 8:35 / /run/disk rw - ext4 /dev/sdd3 rw", false},
        {"21 26 0:20 / /proc rw - proc proc rw", false},
        {"22 26 0:21 / /sys rw - sysfs sysfs rw", false},
        {"24 23 0:22 / /dev/shm rw - tmpfs tmpfs rw", false},
        {"23 26 0:6 / /dev rw - devtmpfs devtmpfs rw", false},
        {"31 30 0:28 / /sys/fs/cgroup/cpu rw - cgroup cgroup rw", false},
        {"50 26 0:60 / /var/lib/docker/overlay2/x/merged rw - overlay overlay rw", false},
        {"51 26 7:3 / /snap/core/123 ro - squashfs /dev/loop3 ro", false},
        {"52 26 8:1 / /boot/efi rw - vfat /dev/sda1 rw", false},
        {"53 26 254:0 /etc/hosts /etc/hosts rw - ext4 /dev/vda rw", false},  // a bound file
        {"54 26 0:70 / /run/user/1000/gvfs rw - fuse.gvfsd-fuse gvfsd-fuse rw", false},
    };
    for (const auto& c : cases) {
        const auto mounts = parseMountInfo(c.line);
        ASSERT_EQ(mounts.size(), 1u) << c.line;
        EXPECT_EQ(isDriveMount(mounts[0]), c.drive) << c.line;
    }
}

TEST(MountInfo, BtrfsSubvolumesAreDrivesAndFoldersBoundFromThemAreNot)
{
    const struct {
        const char* line;
        bool drive;
    } cases[] = {
        // Fedora
        {"65 1 0:32 /root / rw,relatime - btrfs /dev/vda3 rw,compress=zstd:1,subvolid=257,subvol=/root", true},
        {"93 65 0:32 /home /home rw,relatime - btrfs /dev/vda3 rw,compress=zstd:1,subvolid=256,subvol=/home", true},
        // Ubuntu
        {"28 1 0:26 /@ / rw,relatime - btrfs /dev/sda2 rw,ssd,space_cache=v2,subvolid=256,subvol=/@", true},
        {"40 28 0:26 /@home /home rw,relatime - btrfs /dev/sda2 rw,ssd,subvolid=257,subvol=/@home", true},
        // openSUSE: the system is a snapshot, its folders are subvolumes
        {"59 1 0:30 /@/.snapshots/1/snapshot / rw - btrfs /dev/vda2 rw,subvolid=266,subvol=/@/.snapshots/1/snapshot",
         true},
        {"72 59 0:30 /@/home /home rw,relatime - btrfs /dev/vda2 rw,space_cache=v2,subvolid=264,subvol=/@/home", true},
        {"75 59 0:30 /@/srv /srv rw,relatime - btrfs /dev/vda2 rw,space_cache=v2,subvolid=261,subvol=/@/srv", true},
        {"73 59 0:30 /@/.snapshots /.snapshots rw - btrfs /dev/vda2 rw,subvolid=265,subvol=/@/.snapshots", false},
        {"74 59 0:30 /@/var /var rw,relatime - btrfs /dev/vda2 rw,space_cache=v2,subvolid=258,subvol=/@/var", false},
        {"78 59 0:30 /@/usr/local /usr/local rw - btrfs /dev/vda2 rw,subvolid=259,subvol=/@/usr/local", false},
        {"76 59 0:30 /@/root /root rw,relatime - btrfs /dev/vda2 rw,subvolid=262,subvol=/@/root", false},
        // the whole file system, and a subvolume whose name holds a space and a comma
        {"310 28 0:26 / /mnt/pool rw,relatime - btrfs /dev/sda2 rw,ssd,subvolid=5,subvol=/", true},
        {"311 28 0:26 /@old\\040books,2 /media/a rw - btrfs /dev/sdb1 rw,subvolid=300,subvol=/@old\\040books\\0542",
         true},
        // folders bound from a subvolume (mount --bind)
        {"300 28 0:26 /@/srv/books /mnt/books rw,relatime - btrfs /dev/sda2 rw,ssd,subvolid=256,subvol=/@", false},
        {"301 93 0:32 /home/anna/Hörbücher /mnt/hb rw,relatime - btrfs /dev/vda3 rw,subvolid=256,subvol=/home", false},
        {"302 28 0:26 /@homework /mnt/w rw,relatime - btrfs /dev/sda2 rw,subvolid=256,subvol=/@home", false},
        {"303 28 0:26 /srv /mnt/s rw,relatime - btrfs /dev/sda2 rw,subvolid=5,subvol=/", false},
        // a folder bound from a file system without subvolumes
        {"305 26 254:0 /srv/books /mnt/books rw - ext4 /dev/vda rw", false},
    };
    for (const auto& c : cases) {
        const auto mounts = parseMountInfo(c.line);
        ASSERT_EQ(mounts.size(), 1u) << c.line;
        EXPECT_EQ(isDriveMount(mounts[0]), c.drive) << c.line;
    }
}

TEST(Drives, TheHomeFolderComesFirstThenEachDriveOnceWithItsLabel)
{
    const auto mounts = parseMountInfo("26 1 254:0 / / rw - ext4 /dev/vda rw\n"
                                       "21 26 0:20 / /proc rw - proc proc rw\n"
                                       "40 26 8:17 / /media/anna/STICK rw - vfat /dev/sdb1 rw\n"
                                       "41 26 8:18 / /media/anna/STICK rw - exfat /dev/sdc1 rw\n");
    const auto drives =
        drivesOf("/home/anna", "Persönlicher Ordner", mounts, {{"/dev/vda", "System"}, {"/dev/sdc1", "NEU"}});
    // The stick's mount point was mounted over again: the newest mount names it.
    EXPECT_EQ(drives, (std::vector<Drive>{
                          {"/home/anna", "Persönlicher Ordner"}, {"/", "System"}, {"/media/anna/STICK", "NEU"}}));
}

TEST(Drives, ASubvolumeIsNamedByItsMountPointNotByTheLabelOfTheWholeDisk)
{
    const auto mounts =
        parseMountInfo("65 1 0:32 /root / rw - btrfs /dev/vda3 rw,subvolid=257,subvol=/root\n"
                       "93 65 0:32 /home /home rw - btrfs /dev/vda3 rw,subvolid=256,subvol=/home\n"
                       "94 65 0:32 /home/anna/books /mnt/books rw - btrfs /dev/vda3 rw,subvolid=256,subvol=/home\n"
                       "95 65 0:40 / /media/anna/Daten rw - btrfs /dev/sdb1 rw,subvolid=5,subvol=/\n");
    const auto drives = drivesOf("", "", mounts, {{"/dev/vda3", "fedora"}, {"/dev/sdb1", "Hörbücher"}});
    EXPECT_EQ(drives, (std::vector<Drive>{{"/", "fedora"}, {"/home", "home"}, {"/media/anna/Daten", "Hörbücher"}}));
}

}  // namespace
}  // namespace korvin
