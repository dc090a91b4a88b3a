// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/drives.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

#include "library/statefile.h"

namespace korvin {

namespace {

bool isFolder(const std::string& path)
{
    struct stat info {};
    return !path.empty() && path.front() == '/' && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string withoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// udev writes characters outside the safe set of a label as \xHH.
std::string decodeLabel(const std::string& name)
{
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' && std::isxdigit(static_cast<unsigned char>(name[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
            out += static_cast<char>(std::stoi(name.substr(i + 2, 2), nullptr, 16));
            i += 3;
            continue;
        }
        out += name[i];
    }
    return out;
}

std::vector<std::pair<std::string, std::string>> deviceLabels()
{
    std::vector<std::pair<std::string, std::string>> labels;
    std::error_code error;
    for (std::filesystem::directory_iterator it("/dev/disk/by-label", error), end; !error && it != end;
         it.increment(error)) {
        const std::filesystem::path device = std::filesystem::canonical(it->path(), error);
        if (!error)
            labels.emplace_back(device.string(), decodeLabel(it->path().filename().string()));
        error.clear();
    }
    return labels;
}

}  // namespace

std::string homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && isFolder(home))
        return withoutTrailingSlash(home);
    // The account's folder; getpwuid_r keeps the lookup free of shared state.
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        isFolder(found->pw_dir))
        return withoutTrailingSlash(found->pw_dir);
    return std::string();
}

std::vector<Drive> drivesOf(const std::string& home, const std::string& homeName, const std::vector<Mount>& mounts,
                            const std::vector<std::pair<std::string, std::string>>& labels)
{
    std::vector<Drive> drives;
    if (!home.empty())
        drives.push_back(Drive{home, homeName});
    for (const Mount& mount : mounts) {
        if (!isDriveMount(mount))
            continue;
        // A label names the whole file system: every subvolume of a btrfs
        // disk would carry it, so a subvolume is named by where it is
        // mounted unless it is the system's own "/".
        const bool labelled = mount.root == "/" || mount.mountPoint == "/";
        std::string name;
        if (const auto label = std::find_if(labels.begin(), labels.end(),
                                            [&](const auto& entry) { return entry.first == mount.source; });
            labelled && label != labels.end())
            name = label->second;
        else if (mount.mountPoint != "/")
            name = mount.mountPoint.substr(mount.mountPoint.rfind('/') + 1);
        // A mount point mounted over again shows the newest mount, once.
        const Drive drive{withoutTrailingSlash(mount.mountPoint), name};
        const auto same = std::find_if(drives.begin() + (home.empty() ? 0 : 1), drives.end(),
                                       [&](const Drive& d) { return d.root == drive.root; });
        if (same != drives.end())
            *same = drive;
        else
            drives.push_back(drive);
    }
    return drives;
}

std::vector<Drive> listDrives(const std::string& homeName)
{
    const FileBytes table = readFileBytes("/proc/self/mountinfo");
    return drivesOf(homeFolder(), homeName, parseMountInfo(table.bytes), deviceLabels());
}

}  // namespace korvin
