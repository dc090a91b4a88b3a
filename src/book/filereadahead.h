// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "book/filesource.h"

namespace korvin {

// The files of a reading, read a few ahead on a thread of their own while the
// reading parses the file before: a FileSource that answers from what that
// thread has read.
//
// The names come in the order the reading will ask for them. A request for
// the next of them gets its bytes (or its failure, or the exception its read
// threw) as the source gave them. A request for anything else stops the
// thread and is read from the source directly, and so is every request after
// it: the answers are always those of the source, only sooner.
//
// From construction until the thread has stopped, the thread is the only one
// that touches the source (a zipped book's archive is used on one thread at
// a time); the owner reads only through this object. The thread holds at most
// `Bound::files` files or, beyond the first, `Bound::bytes` bytes that have
// not been asked for. It is stopped and joined by the destructor, at once
// after the file it is reading, however the reading ends.
//
// read() is called from one thread, the reading's.
class FileReadAhead final : public FileSource {
public:
    // The names to read, produced on the read-ahead thread.
    class Names {
    public:
        virtual ~Names() = default;
        // The next name; nullopt after the last. The view stays valid until the next call.
        virtual std::optional<std::string_view> next() = 0;
    };

    struct Bound {
        std::size_t files = 16;
        std::size_t bytes = std::size_t{4} << 20;
    };

    // `files` must outlive this object; `folder` is the folder of every name.
    FileReadAhead(const FileSource& files, std::string folder, std::unique_ptr<Names> names, Bound bound);
    FileReadAhead(const FileSource& files, std::string folder, std::unique_ptr<Names> names);
    ~FileReadAhead() override;

    FileReadAhead(const FileReadAhead&) = delete;
    FileReadAhead& operator=(const FileReadAhead&) = delete;

    using FileSource::read;
    bool read(const std::string& folder, std::string_view name, std::string& bytes) const override;

private:
    struct File {
        std::string name;
        std::string bytes;
        bool read = false;
    };

    // What changes while the two threads work; the one thing read() changes.
    struct Shared {
        std::mutex mutex;
        std::condition_variable_any changed;
        std::deque<File> ready;
        std::size_t readyBytes = 0;
        std::vector<std::string> spare;  // storage handed back by the reading
        bool finished = false;           // every name read, or the thread stopped
        bool direct = false;             // the thread joined: requests go to the source
        bool aheadWaiting = false;       // the thread waits for room
        bool readingWaiting = false;     // the reading waits for a file
        // Last: stopped and joined before the members it uses go.
        std::jthread thread;
    };

    void readAhead(const std::stop_token& stop);
    bool hasRoom() const;
    bool isLow() const;
    bool isHigh() const;
    // The next file read ahead, when it is the one asked for: whether it was
    // read. Otherwise stops the thread and gives nullopt.
    std::optional<bool> takeNext(const std::string& folder, std::string_view name, std::string& bytes) const;
    std::string spareString();
    void keepSpare(std::string& storage) const;

    const FileSource& m_files;
    const std::string m_folder;
    const std::unique_ptr<Names> m_names;
    const Bound m_bound;
    mutable Shared m_shared;
};

}  // namespace korvin
