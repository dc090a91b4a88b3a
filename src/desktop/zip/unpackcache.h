// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <string>

namespace korvin {

// The private folder zipped books are unpacked into: below `root`, one
// folder for each running program, holding one folder for each archive
// opened. The program's folder is locked while it lives and removed with
// everything in it when the cache goes; a folder whose lock nobody holds was
// left by a program that ended without cleaning (a crash, a power cut) and is
// removed when the next cache is made. Nothing is made when `root` cannot be
// written: unpacking then fails, and the reading of a book from its archive
// goes on.
class UnpackCache {
public:
    explicit UnpackCache(std::string root);
    ~UnpackCache();
    UnpackCache(const UnpackCache&) = delete;
    UnpackCache& operator=(const UnpackCache&) = delete;

    // A new folder's path for one archive (absolute, ending in "/"); not made
    // yet. Any thread.
    std::string nextFolder();

    const std::string& folder() const { return m_folder; }

private:
    void removeStaleFolders() const;

    std::string m_root;
    std::string m_folder;  // this program's, ending in "/"
    int m_lock = -1;
    std::atomic<unsigned> m_next{0};
};

}  // namespace korvin
