// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/zip/unpackcache.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <system_error>

namespace korvin {

namespace {

constexpr const char* kLockName = ".lock";

int openLock(const std::filesystem::path& folder)
{
    return ::open((folder / kLockName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
}

}  // namespace

UnpackCache::UnpackCache(std::string root)
    : m_root(std::move(root))
{
    std::error_code error;
    std::filesystem::create_directories(m_root, error);
    std::filesystem::permissions(m_root, std::filesystem::perms::owner_all, error);
    removeStaleFolders();

    std::random_device random;
    const std::filesystem::path folder =
        std::filesystem::path(m_root) / (std::to_string(::getpid()) + "-" + std::to_string(random()));
    if (!std::filesystem::create_directory(folder, error))
        return;
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all, error);
    m_lock = openLock(folder);
    if (m_lock >= 0)
        ::flock(m_lock, LOCK_EX | LOCK_NB);
    m_folder = folder.string() + "/";
}

UnpackCache::~UnpackCache()
{
    std::error_code ignored;
    if (!m_folder.empty())
        std::filesystem::remove_all(m_folder, ignored);
    if (m_lock >= 0)
        ::close(m_lock);
}

std::string UnpackCache::nextFolder()
{
    // Without a folder of its own the path lies where nothing can be made.
    const std::string base = m_folder.empty() ? m_root + "/unwritable/" : m_folder;
    return base + std::to_string(m_next.fetch_add(1)) + "/";
}

// A program's folder whose lock can be taken belongs to no running program.
void UnpackCache::removeStaleFolders() const
{
    std::error_code error;
    std::filesystem::directory_iterator entries(m_root, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        std::error_code ignored;
        if (!entries->is_directory(ignored) || entries->is_symlink(ignored))
            continue;
        const int lock = openLock(entries->path());
        const bool stale = lock < 0 || ::flock(lock, LOCK_EX | LOCK_NB) == 0;
        if (lock >= 0)
            ::close(lock);
        if (stale)
            std::filesystem::remove_all(entries->path(), ignored);
    }
}

}  // namespace korvin
