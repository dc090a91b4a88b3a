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

}  // namespace
}  // namespace korvin
