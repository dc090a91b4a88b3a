// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/filereadahead.h"

#include <algorithm>

namespace korvin {

FileReadAhead::FileReadAhead(const FileSource& files, std::string folder, std::unique_ptr<Names> names, Bound bound)
    : m_files(files)
    , m_folder(std::move(folder))
    , m_names(std::move(names))
    , m_bound{std::max<std::size_t>(bound.files, 1), bound.bytes}
{
    // Storage handed back is kept without allocating under the lock.
    m_shared.spare.reserve(m_bound.files);
    m_shared.thread = std::jthread([this](const std::stop_token& stop) { readAhead(stop); });
}

FileReadAhead::FileReadAhead(const FileSource& files, std::string folder, std::unique_ptr<Names> names)
    : FileReadAhead(files, std::move(folder), std::move(names), Bound())
{
}

FileReadAhead::~FileReadAhead() = default;

void FileReadAhead::readAhead(const std::stop_token& stop)
{
    Shared& s = m_shared;
    // Whatever goes wrong here (a read or a name that throws, memory) only
    // ends the reading ahead: the reading then reads the rest itself and
    // meets the same fault where it met it before.
    try {
        for (;;) {
            File file;
            {
                std::unique_lock lock(s.mutex);
                if (!hasRoom()) {
                    s.aheadWaiting = true;
                    s.changed.wait(lock, stop, [this] { return isLow(); });
                    s.aheadWaiting = false;
                }
                if (stop.stop_requested())
                    break;
                file.bytes = spareString();
            }
            const std::optional<std::string_view> name = m_names->next();
            if (!name)
                break;
            file.name.assign(*name);
            file.read = m_files.read(m_folder, file.name, file.bytes);
            {
                const std::lock_guard lock(s.mutex);
                s.readyBytes += file.bytes.size();
                s.ready.push_back(std::move(file));
                if (!s.readingWaiting || !isHigh())
                    continue;
            }
            s.changed.notify_all();
        }
    } catch (...) {
    }
    {
        const std::lock_guard lock(s.mutex);
        s.finished = true;
    }
    s.changed.notify_all();
}

// An empty queue always has room, so that a file larger than the bound is
// still read ahead, alone.
bool FileReadAhead::hasRoom() const
{
    const Shared& s = m_shared;
    return s.ready.empty() || (s.ready.size() < m_bound.files && s.readyBytes < m_bound.bytes);
}

// Each thread that has to wait for the other waits until half the bound has
// been read or taken, not one file: a thread woken for every file would
// spend more on waking than the read-ahead saves, all the more on a busy
// machine.
bool FileReadAhead::isLow() const
{
    const Shared& s = m_shared;
    return s.ready.empty() ||
           (hasRoom() && s.ready.size() <= m_bound.files / 2 && s.readyBytes <= m_bound.bytes / 2);
}

bool FileReadAhead::isHigh() const
{
    const Shared& s = m_shared;
    return !s.ready.empty() && (!hasRoom() || s.ready.size() >= (m_bound.files + 1) / 2 ||
                                s.readyBytes >= (m_bound.bytes + 1) / 2);
}

std::string FileReadAhead::spareString()
{
    std::vector<std::string>& spare = m_shared.spare;
    if (spare.empty())
        return {};
    std::string storage = std::move(spare.back());
    spare.pop_back();
    return storage;
}

void FileReadAhead::keepSpare(std::string& storage) const
{
    std::vector<std::string>& spare = m_shared.spare;
    if (spare.size() < spare.capacity()) {
        storage.clear();
        spare.push_back(std::move(storage));
    }
}

bool FileReadAhead::read(const std::string& folder, std::string_view name, std::string& bytes) const
{
    if (!m_shared.direct) {
        if (const std::optional<bool> taken = takeNext(folder, name, bytes))
            return *taken;
    }
    return m_files.read(folder, name, bytes);
}

std::optional<bool> FileReadAhead::takeNext(const std::string& folder, std::string_view name, std::string& bytes) const
{
    Shared& s = m_shared;
    std::unique_lock lock(s.mutex);
    if (s.ready.empty() && !s.finished) {
        s.readingWaiting = true;
        s.changed.wait(lock, [this, &s] { return s.finished || isHigh(); });
        s.readingWaiting = false;
    }
    if (s.ready.empty() || s.ready.front().name != name || folder != m_folder) {
        // Not what was read ahead: from here on the source answers alone.
        lock.unlock();
        s.thread.request_stop();
        s.thread.join();
        s.direct = true;
        s.ready.clear();
        s.spare.clear();
        return std::nullopt;
    }
    File& file = s.ready.front();
    s.readyBytes -= file.bytes.size();
    bytes.swap(file.bytes);
    keepSpare(file.bytes);
    const bool read = file.read;
    s.ready.pop_front();
    const bool wake = s.aheadWaiting && isLow();
    lock.unlock();
    if (wake)
        s.changed.notify_all();
    return read;
}

}  // namespace korvin
